#include "app/cli/cli.h"

#include "addins/png/png_file.h"
#include "app/cli/cli_args.h"
#include "app/cli/told.h"
#include "app/document/composite.h"
#include "app/files/open.h"
#include "app/files/palette_file.h"
#include "app/files/save.h"
#include "app/imageops/decrease_colours.h"
#include "app/imageops/palette_apply.h"
#include "app/imageops/resize.h"
#include "app/imageops/sprite_sheet.h"

#ifdef _WIN32
#include "app/session/addin_dll_loader.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr char kVersion[] = "velmo-cli 2.00";
constexpr char kStandard[] = "-";
// A picture's position in the write table is its file type less one.
constexpr FileTypeId kPngType = FileTypeId::FirstAddIn;
constexpr int kBmpBitsChoices[] = {4, 8};
constexpr int kFullDepth = 8; // bits a pixel of every picture
// Shown while the work has run this long.
constexpr auto kProgressAfter = std::chrono::seconds(1);
// Display modes that would make a composite show less than every visible
// layer.
constexpr std::uint32_t kDisplayModes = kDocOnlyCurrentLayer | kDocWithLayerBelow | kDocMaskView;

struct DocumentDeleter {
    void operator()(PictureDocument* doc) const { free_document(doc); }
};
using Document = std::unique_ptr<PictureDocument, DocumentDeleter>;

// The program's built-in types, PNG through the PNG Add-Ins' own code and,
// on Windows, the formats of the Add-Ins installed beside the program (one
// of an extension already known is left out).
class Formats {
  public:
    FileTypeTable read, write;

    Formats() {
#ifdef _WIN32
        discover_addins(addins_, loader_, nullptr);
        make_file_type_table(read, 1 + addins_.read_types.count - kBuiltInTypes);
        make_file_type_table(write, 1 + addins_.write_types.count - kBuiltInTypes);
#else
        make_file_type_table(read, 1);
        make_file_type_table(write, 1);
#endif
        add_file_type(read, "png", "PNG Image(*.PNG)", png_decode_file);
        add_file_type(write, "png", "PNG Image(*.PNG)", png_encode_file);
#ifdef _WIN32
        add_new_types(read, addins_.read_types);
        add_new_types(write, addins_.write_types);
#endif
    }
    ~Formats() {
        free_file_type_table(read);
        free_file_type_table(write);
#ifdef _WIN32
        release_addins(addins_, loader_);
#endif
    }
    Formats(const Formats&) = delete;
    Formats& operator=(const Formats&) = delete;

    // The write extensions, as a usage message lists them.
    std::string write_extensions() const {
        std::string list;
        for (int i = 0; i < write.count; ++i)
            list += std::string(i ? ", " : "") + write.types[i].extension;
        return list;
    }

  private:
#ifdef _WIN32
    static void add_new_types(FileTypeTable& table, const FileTypeTable& addins) {
        for (int i = kBuiltInTypes; i < addins.count; ++i) {
            const FileType& type = addins.types[i];
            if (!find_extension(table, type.extension))
                add_file_type(table, type.extension, type.name, type.function);
        }
    }
    static bool find_extension(const FileTypeTable& table, const char* extension) {
        for (int i = 0; i < table.count; ++i)
            if (lstrcmpiA(table.types[i].extension, extension) == 0) return true;
        return false;
    }

    AddInHost addins_;
    DllAddInLoader loader_{executable_folder(), GetModuleHandleA(nullptr)};
#endif
};

// A file of the system's temporary folder, removed when it goes.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& extension) {
        static int counter = 0;
        std::error_code error;
        path_ = (fs::temp_directory_path(error) /
                 ("velmo-cli-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++counter) + extension))
                    .string();
    }
    ~TemporaryFile() {
        std::error_code error;
        fs::remove(path_, error);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Read type by the file's first bytes, which name the format whatever the
// file is called; None when they name none of the readers'.
FileTypeId type_by_content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[4] = {};
    in.read(head, sizeof head);
    const std::string bytes(head, std::size_t(in.gcount()));
    if (bytes.rfind("VLX", 0) == 0) return FileTypeId::Native;
    if (bytes.rfind("BM", 0) == 0) return FileTypeId::Bmp;
    if (bytes.rfind("GIF", 0) == 0) return FileTypeId::Gif;
    if (bytes == "\x89PNG") return kPngType;
    return FileTypeId::None;
}

// Shows "what i of n" on a terminal once the work has run a second.
class Progress {
  public:
    Progress(const CliStreams& streams, const char* what, int total)
        : err_(streams.err), terminal_(streams.err_is_terminal), what_(what), total_(total),
          start_(std::chrono::steady_clock::now()) {}
    ~Progress() {
        if (shown_) err_ << "\r" << std::string(width_, ' ') << "\r" << std::flush;
    }
    void step(int done) {
        if (!terminal_ || std::chrono::steady_clock::now() - start_ < kProgressAfter) return;
        std::ostringstream line;
        line << "velmo-cli: " << what_ << " " << done << "/" << total_;
        width_ = std::max(width_, line.str().size());
        err_ << "\r" << line.str() << std::flush;
        shown_ = true;
    }

  private:
    std::ostream& err_;
    bool terminal_;
    const char* what_;
    int total_;
    std::chrono::steady_clock::time_point start_;
    bool shown_ = false;
    std::size_t width_ = 0;
};

class Cli {
  public:
    Cli(const CliRequest& request, CliStreams streams)
        : request_(request), options_(request.options), streams_(streams) {}

    int run();

  private:
    // Every failure ends here: one message, the failure status.
    int fail(const std::string& message) {
        streams_.err << "velmo-cli: " << message << "\n";
        return kExitFailed;
    }
    int usage(const std::string& message) {
        streams_.err << "velmo-cli: " << message << "\n";
        return kExitUsage;
    }

    Document open(const std::string& name, FileTypeId* type_out, std::string& error);
    FileTypeId output_type(const std::string& name, std::string& error) const;
    bool save(PictureDocument& doc, const std::string& name, FileTypeId type, bool keyed,
              std::string& error);
    bool apply_options(PictureDocument& doc, FileTypeId type, bool keyed, SaveChoices& choices,
                       std::string& error) const;

    // Copies a finished temporary file to standard output.
    bool send(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        streams_.out << in.rdbuf();
        streams_.out.flush();
        return bool(streams_.out);
    }

    int info();
    int convert(bool animated);
    int sheet();
    int split();
    int palette_extract();
    int palette_apply();
    int decrease();
    int resize();

    const CliRequest& request_;
    const CliOptions& options_;
    CliStreams streams_;
    Formats formats_;
};

Document Cli::open(const std::string& name, FileTypeId* type_out, std::string& error) {
    std::unique_ptr<TemporaryFile> copy;
    std::string path = name;
    if (name == kStandard) {
        copy = std::make_unique<TemporaryFile>("");
        std::ofstream out(copy->path(), std::ios::binary);
        out << streams_.in.rdbuf();
        if (!out) {
            error = "standard input cannot be read";
            return nullptr;
        }
        path = copy->path();
    } else if (!fs::is_regular_file(path)) {
        error = name + ": no such file";
        return nullptr;
    }
    FileTypeId type = type_by_content(path);
    if (type == FileTypeId::None) {
        const FoundType found = find_type_by_extension(path.c_str(), formats_.read);
        if (!found.found) {
            error = name + ": unknown format";
            return nullptr;
        }
        type = found.type;
    }
    ToldMessages told;
    Document doc(read_picture_file(path.c_str(), type, formats_.read, formats_.write, nullptr));
    if (!doc) {
        const std::string why = told.last();
        error = name + ": cannot be read" + (why.empty() ? "" : " (" + why + ")");
        return nullptr;
    }
    if (type_out) *type_out = type;
    return doc;
}

// Write type for an output: --to, else the name's extension.
FileTypeId Cli::output_type(const std::string& name, std::string& error) const {
    if (!options_.to.empty()) {
        for (int i = 0; i < formats_.write.count; ++i)
            if (options_.to == formats_.write.types[i].extension) return type_at(i);
        error = "unknown format '" + options_.to + "' (" + formats_.write_extensions() + ")";
        return FileTypeId::None;
    }
    const FoundType found = name == kStandard
                                ? FoundType{false, FileTypeId::None, 0}
                                : find_type_by_extension(name.c_str(), formats_.write);
    if (!found.found) {
        error = name + ": unknown output format (name it with --to)";
        return FileTypeId::None;
    }
    return found.type;
}

// The options that make sense for the output type, as the save dialogs
// would have set them.
bool Cli::apply_options(PictureDocument& doc, FileTypeId type, bool keyed, SaveChoices& choices,
                        std::string& error) const {
    const bool gif = type == FileTypeId::Gif, png = type == kPngType, bmp = type == FileTypeId::Bmp;
    if (options_.bits != kUnset && !gif && !bmp) {
        error = "--bits applies to BMP and GIF";
        return false;
    }
    if (options_.transparent != kUnset && !gif && !png) {
        error = "--transparent applies to GIF and PNG";
        return false;
    }
    if ((options_.interlace || options_.loop != kUnset || options_.has_comment ||
         options_.animation || options_.still) &&
        !gif) {
        error = "--interlace, --loop, --comment, --animation and --still apply to GIF";
        return false;
    }
    Layer& current = *current_layer(doc);
    if (bmp) {
        const int bits = options_.bits == kUnset ? kFullDepth : options_.bits;
        if (std::find(std::begin(kBmpBitsChoices), std::end(kBmpBitsChoices), bits) ==
            std::end(kBmpBitsChoices)) {
            error = "--bits for BMP is 4 or 8";
            return false;
        }
        choices.bmp_bits = bits;
    }
    if (gif) {
        if (options_.bits != kUnset) doc.gif_colour_bits = options_.bits;
        if (options_.interlace) doc.gif_options |= kGifInterlaced;
        if (options_.loop != kUnset) doc.gif_repeat_count = options_.loop;
        if (options_.has_comment)
            std::snprintf(doc.gif_comment, sizeof doc.gif_comment, "%s", options_.comment.c_str());
        if (options_.animation) doc.gif_options |= kGifAnimation;
        if (options_.still) doc.gif_options &= ~kGifAnimation;
        choices.gif_key_colour = current.key_colour;
        if (options_.transparent != kUnset) {
            doc.gif_options |= kGifTransparent;
            choices.gif_key_colour = options_.transparent;
            // An animation takes each frame's transparency from its layer.
            if ((doc.gif_options & kGifAnimation) && doc.layer_count > 1)
                for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
                    node->layer->key_colour = options_.transparent;
                    node->layer->flags |= kLayerAnimTransparent;
                }
        }
    }
    if (png && (keyed || options_.transparent != kUnset)) {
        doc.flags |= kDocKeyColourEnabled;
        if (options_.transparent != kUnset) current.key_colour = options_.transparent;
    }
    return true;
}

bool Cli::save(PictureDocument& doc, const std::string& name, FileTypeId type, bool keyed,
               std::string& error) {
    SaveChoices choices;
    if (!apply_options(doc, type, keyed, choices, error)) return false;
    std::unique_ptr<TemporaryFile> copy;
    std::string path = name;
    if (name == kStandard) {
        copy = std::make_unique<TemporaryFile>(std::string(".") +
                                               type_entry(formats_.write, type).extension);
        path = copy->path();
    }
    std::snprintf(doc.file_name, sizeof doc.file_name, "%s", path.c_str());
    doc.file_type = type;
    doc.flags &= ~kDisplayModes;
    ToldMessages told;
    if (save_picture_file(doc, formats_.write, choices) != 1) {
        error = (name == kStandard ? std::string("standard output") : name) + ": cannot be written";
        return false;
    }
    if (copy && !send(path)) {
        error = "standard output cannot be written";
        return false;
    }
    return true;
}

// ---- info ----

std::string json_text(const std::string& text) {
    std::string quoted = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += char(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            quoted += escaped;
        } else {
            quoted += char(c);
        }
    }
    return quoted + "\"";
}

const char* yes_no(bool value, bool json) {
    return value ? (json ? "true" : "yes") : (json ? "false" : "no");
}

// How many of the 256 entries the file itself held: a GIF's global table, a
// BMP's depth; the native file and PNG keep all 256.
int palette_entries(const PictureDocument& doc, FileTypeId type) {
    if (type == FileTypeId::Gif) return 1 << std::clamp(doc.gif_colour_bits, 1, kFullDepth);
    if (type == FileTypeId::Bmp) return 1 << std::clamp(doc.bmp_colour_bits, 1, kFullDepth);
    return io::kPaletteEntries;
}

int colours_used(const PictureDocument& doc) {
    bool used[io::kPaletteEntries] = {};
    for (const LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        const Surface& image = *node->layer->image;
        const BYTE* row = image.bits;
        for (int y = 0; y < image.height(); ++y, row += image.stride())
            for (int x = 0; x < image.width(); ++x)
                used[row[x]] = true;
    }
    return int(std::count(std::begin(used), std::end(used), true));
}

void describe(std::ostream& out, const std::string& name, const PictureDocument& doc,
              FileTypeId type, const char* format, bool json) {
    const int width = picture_width(doc), height = picture_height(doc);
    if (json) {
        out << "{\"file\": " << json_text(name) << ", \"format\": \"" << format
            << "\", \"width\": " << width << ", \"height\": " << height
            << ", \"palette_entries\": " << palette_entries(doc, type)
            << ", \"colors_used\": " << colours_used(doc) << ", \"frames\": " << doc.layer_count
            << ", \"loop\": " << doc.gif_repeat_count
            << ", \"interlaced\": " << yes_no(doc.gif_options & kGifInterlaced, true)
            << ", \"comment\": " << json_text(doc.gif_comment) << ", \"layers\": [";
    } else {
        out << name << ": " << format << ", " << width << " x " << height << ", " << doc.layer_count
            << (doc.layer_count == 1 ? " layer" : " layers") << ", palette "
            << palette_entries(doc, type) << " entries (" << colours_used(doc) << " used)\n";
        out << "  animation: loop " << doc.gif_repeat_count << ", interlaced "
            << yes_no(doc.gif_options & kGifInterlaced, false);
        if (doc.gif_comment[0]) out << ", comment \"" << doc.gif_comment << "\"";
        out << "\n";
    }
    int position = 1;
    for (const LayerNode* node = doc.layers->next; node != doc.layers;
         node = node->next, ++position) {
        const Layer& layer = *node->layer;
        const bool visible = layer.flags & kLayerVisible;
        const bool transparent = layer.flags & kLayerAnimTransparent;
        const bool user_input = layer.flags & kLayerAnimUserInput;
        const AreaRect& a = layer.area;
        if (json) {
            out << (position > 1 ? ", " : "") << "{\"name\": " << json_text(layer.name)
                << ", \"visible\": " << yes_no(visible, true) << ", \"key\": " << layer.key_colour
                << ", \"background\": " << layer.background_colour
                << ", \"opacity\": " << layer.opacity << ", \"interval_ms\": " << layer.interval
                << ", \"disposal\": " << layer.disposal << ", \"area\": [" << a.left << ", "
                << a.top << ", " << a.width << ", " << a.height
                << "], \"transparent\": " << yes_no(transparent, true)
                << ", \"user_input\": " << yes_no(user_input, true) << "}";
        } else {
            out << "  layer " << position << " \"" << layer.name
                << "\": " << (visible ? "visible" : "hidden") << ", key " << layer.key_colour
                << ", background " << layer.background_colour << ", opacity " << layer.opacity
                << ", interval " << layer.interval << " ms, disposal " << layer.disposal
                << ", area " << a.left << "," << a.top << " " << a.width << "x" << a.height
                << (transparent ? ", transparent" : "") << (user_input ? ", user input" : "")
                << "\n";
        }
    }
    if (json) out << "]}";
}

int Cli::info() {
    const auto& files = request_.operands;
    if (options_.json) streams_.out << "[";
    Progress progress(streams_, "info", int(files.size()));
    for (std::size_t i = 0; i < files.size(); ++i) {
        FileTypeId type = FileTypeId::Native;
        std::string error;
        Document doc = open(files[i], &type, error);
        if (!doc) return fail(error);
        if (options_.json && i > 0) streams_.out << ", ";
        describe(streams_.out, files[i], *doc, type, type_entry(formats_.read, type).extension,
                 options_.json);
        progress.step(int(i + 1));
    }
    if (options_.json) streams_.out << "]\n";
    return kExitOk;
}

// ---- convert and export-gif ----

// A picture opened from a GIF that had a transparent colour keeps it in a
// PNG.
bool keyed_by_source(const PictureDocument& doc) {
    return doc.gif_options & kGifTransparent;
}

int Cli::convert(bool animated) {
    std::string error;
    Document doc = open(request_.operands[0], nullptr, error);
    if (!doc) return fail(error);
    const std::string& target = request_.operands[1];
    FileTypeId type = FileTypeId::Gif;
    if (!animated) {
        type = output_type(target, error);
        if (type == FileTypeId::None) return usage(error);
    } else {
        doc->gif_options |= kGifAnimation;
    }
    if (!save(*doc, target, type, keyed_by_source(*doc), error)) return fail(error);
    return kExitOk;
}

// ---- sheet and split ----

int Cli::sheet() {
    std::string error;
    Document doc = open(request_.operands[0], nullptr, error);
    if (!doc) return fail(error);
    const std::string& target = request_.operands[1];
    const FileTypeId type = output_type(target, error);
    if (type == FileTypeId::None) return usage(error);
    SheetLayout layout;
    if (!layout_for_cells(doc->layer_count, picture_width(*doc), picture_height(*doc),
                          options_.columns, options_.padding, layout))
        return fail("the sheet would be larger than " + std::to_string(kSheetMaxSide) +
                    " pixels a side");
    Document sheet(create_document());
    if (!sheet || !build_sprite_sheet(*doc, layout, *sheet)) return fail("out of memory");
    sheet->gif_options = doc->gif_options & kGifTransparent;
    if (!save(*sheet, target, type, keyed_by_source(*doc), error)) return fail(error);
    return kExitOk;
}

int Cli::split() {
    std::string error;
    const std::string& source = request_.operands[0];
    Document doc = open(source, nullptr, error);
    if (!doc) return fail(error);
    const fs::path folder = request_.operands[1];
    FileTypeId type = kPngType;
    if (!options_.to.empty()) {
        type = output_type("", error);
        if (type == FileTypeId::None) return usage(error);
    }
    std::error_code made;
    fs::create_directories(folder, made);
    if (!fs::is_directory(folder)) return fail(folder.string() + ": not a folder");

    // Cells of the picture as every visible layer shows it, or one picture a layer.
    SheetLayout layout;
    const bool cells = options_.cell_width > 0;
    if (cells) {
        if (!layout_of_sheet(picture_width(*doc), picture_height(*doc), options_.cell_width,
                             options_.cell_height, options_.padding, layout))
            return fail("a " + std::to_string(options_.cell_width) + "x" +
                        std::to_string(options_.cell_height) + " cell does not fit in the picture");
        doc->flags &= ~kDisplayModes;
        prepare_composite(*doc);
    }
    const int count = cells ? layout.cells() : doc->layer_count;
    const std::string stem = source == kStandard ? "stdin" : fs::path(source).stem().string();
    const int digits = std::max(3, int(std::to_string(count).size()));
    Progress progress(streams_, "split", count);
    LayerNode* node = doc->layers->next;
    for (int i = 0; i < count; ++i) {
        const Layer& layer = cells ? *bottom_layer(*doc) : *node->layer;
        const Surface& image = cells ? *doc->composite : *layer.image;
        const AreaRect area =
            cells ? layout.cell(i) : AreaRect{0, 0, image.width(), image.height()};
        Document part(create_document());
        if (!part || !build_picture_from_area(image, area, layer.key_colour, *part))
            return fail("out of memory");
        std::string number = std::to_string(i + 1);
        number.insert(0, std::size_t(std::max(0, digits - int(number.size()))), '0');
        const std::string name =
            (folder / (stem + "-" + number + "." + type_entry(formats_.write, type).extension))
                .string();
        const bool keyed = (layer.flags & kLayerAnimTransparent) || keyed_by_source(*doc);
        if (!save(*part, name, type, keyed, error)) return fail(error);
        if (!cells) node = node->next;
        progress.step(i + 1);
    }
    return kExitOk;
}

// ---- palette ----

int Cli::palette_extract() {
    std::string error;
    Document doc = open(request_.operands[0], nullptr, error);
    if (!doc) return fail(error);
    const std::string& target = request_.operands[1];
    const RGBQUAD* palette = current_layer(*doc)->image->colour_table();
    std::unique_ptr<TemporaryFile> copy;
    if (target == kStandard) copy = std::make_unique<TemporaryFile>(".vlf");
    const std::string path = copy ? copy->path() : target;
    if (!write_palette_file(path.c_str(), palette))
        return fail((copy ? std::string("standard output") : target) + ": cannot be written");
    if (copy && !send(path)) return fail("standard output cannot be written");
    return kExitOk;
}

int Cli::palette_apply() {
    std::string error;
    Document doc = open(request_.operands[0], nullptr, error);
    if (!doc) return fail(error);
    const std::string& palette_name = request_.operands[1];
    const std::string& target = request_.operands[2];
    const FileTypeId type = output_type(target, error);
    if (type == FileTypeId::None) return usage(error);
    if (!fs::is_regular_file(palette_name)) return fail(palette_name + ": no such file");
    // Entries a short palette file does not hold keep the picture's colours.
    RGBQUAD palette[io::kPaletteEntries];
    std::memcpy(palette, current_layer(*doc)->image->colour_table(), sizeof palette);
    {
        ToldMessages told;
        if (!read_palette_file(palette_name.c_str(), palette)) {
            const std::string why = told.last();
            return fail(palette_name + ": cannot be read" + (why.empty() ? "" : " (" + why + ")"));
        }
    }
    if (!apply_palette(*doc, palette,
                       options_.keep_indexes ? PaletteApply::KeepIndexes : PaletteApply::Remap))
        return fail("out of memory");
    if (!save(*doc, target, type, keyed_by_source(*doc), error)) return fail(error);
    return kExitOk;
}

// ---- decrease ----

int Cli::decrease() {
    if (options_.colours == kUnset) return usage("decrease needs --colors N");
    std::string error;
    Document doc = open(request_.operands[0], nullptr, error);
    if (!doc) return fail(error);
    const std::string& target = request_.operands[1];
    const FileTypeId type = output_type(target, error);
    if (type == FileTypeId::None) return usage(error);
    DecreaseRequest decrease;
    decrease.colours = options_.colours;
    decrease.dither = options_.dither;
    if (!decrease_colours(*doc, decrease)) return fail("out of memory");
    if (!save(*doc, target, type, keyed_by_source(*doc), error)) return fail(error);
    return kExitOk;
}

// ---- resize ----

int Cli::resize() {
    const bool by_scale = options_.scale != kUnset, by_size = options_.new_width > 0;
    if (by_scale == by_size) return usage("resize needs one of --scale PERCENT and --size WxH");
    std::string error;
    Document doc = open(request_.operands[0], nullptr, error);
    if (!doc) return fail(error);
    const std::string& target = request_.operands[1];
    const FileTypeId type = output_type(target, error);
    if (type == FileTypeId::None) return usage(error);
    const ResizeFields size =
        by_scale ? fields_for_rate(picture_width(*doc), picture_height(*doc), options_.scale)
                 : ResizeFields{options_.new_width, options_.new_height, 0};
    if (!resize_picture(*doc, size.width, size.height,
                        options_.crop ? ResizeMode::Crop : ResizeMode::Stretch))
        return fail("out of memory");
    if (!save(*doc, target, type, keyed_by_source(*doc), error)) return fail(error);
    return kExitOk;
}

int Cli::run() {
    switch (request_.command) {
    case CliCommand::Info:
        return info();
    case CliCommand::Convert:
        return convert(false);
    case CliCommand::ExportGif:
        return convert(true);
    case CliCommand::Sheet:
        return sheet();
    case CliCommand::Split:
        return split();
    case CliCommand::PaletteExtract:
        return palette_extract();
    case CliCommand::PaletteApply:
        return palette_apply();
    case CliCommand::Decrease:
        return decrease();
    case CliCommand::Resize:
        return resize();
    case CliCommand::None:
        break;
    }
    return usage("no command given");
}

} // namespace

int run_cli(const std::vector<std::string>& args, CliStreams streams) {
    const CliParse parse = parse_cli(args);
    if (!parse.ok) {
        streams.err << "velmo-cli: " << parse.error << "\n";
        return kExitUsage;
    }
    const CliRequest& request = parse.request;
    if (request.options.version) {
        streams.out << kVersion << "\n";
        return kExitOk;
    }
    if (request.options.help) {
        streams.out << command_help(request.command);
        return kExitOk;
    }
    return Cli(request, streams).run();
}
