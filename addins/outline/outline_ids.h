// Control numbers of the Outline filter's setup dialog.
#pragma once

#define kIdOutside 101
#define kIdInside 102
#define kIdFour 103
#define kIdEight 104
