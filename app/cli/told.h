// What the file layers told the user while a command ran. They speak in
// message boxes; the command-line program has no one to click them away and
// turns the last one into its message on standard error.
#pragma once

#include <string>

// Lives for the span of one command: natively the platform layer records
// message boxes; on Windows a hook on the thread reads each box's text as it
// opens and closes it, so that nothing waits for a click.
class ToldMessages {
  public:
    ToldMessages();
    ~ToldMessages();
    ToldMessages(const ToldMessages&) = delete;
    ToldMessages& operator=(const ToldMessages&) = delete;
    // The first line of the last message, empty when none was shown.
    std::string last() const;
};
