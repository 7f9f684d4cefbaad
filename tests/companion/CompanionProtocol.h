// Commands the tests and the demo send to the stand-in companion's main
// window as WM_COMMAND, and the ids of its controls.
#pragma once

enum CompanionCommand {
  kCmdOpenAbout = 1001,
  kCmdCloseAbout = 1002,
  kCmdConnectionFailure = 1003,
  kCmdExit = 1005,
  kCmdRenameBurst = 1006,  // renames the main window lParam times in a row
  kCmdShowVendorAddressAgain = 1007,  // shows the main window's vendor address again
  kCmdPutLongTextBack = 1008,         // writes the long device description back
  kCmdWriteLog = 1009,                // appends lParam lines to the log control
  kCmdPutShortTextBack = 1010,        // writes a description of many lines but few characters
  kCmdOpenOptions = 1011,             // opens the dialog no rule knows (below)
};

// Texts no rule of the launcher knows: the dialog kCmdOpenOptions opens,
// with a text naming the vendor and a clean one, and the product and company
// texts KORVASTEL_START=unknown adds to the main window, which no rule of the
// main window changes. English, then Chinese (GBK).
inline constexpr char kOptionsTitle[][16] = {"Options", "\xD1\xA1\xCF\xEE"};  // "选项"
inline constexpr char kOptionsVendorText[][40] = {
    "Device library: Drumel 2024.3",
    "\xC6\xF7\xBC\xFE\xBF\xE2\xA3\xBA" "Drumel 2024.3"};  // "器件库：Drumel 2024.3"
inline constexpr char kOptionsCleanText[][32] = {
    "Verify after programming",
    "\xB1\xE0\xB3\xCC\xBA\xF3\xD0\xA3\xD1\xE9"};  // "编程后校验"
inline constexpr char kMainProductText[][48] = {
    "Ostrel Programmer - device: none",
    "Tamsu\xCF\xB5\xC1\xD0\xB1\xE0\xB3\xCC\xC6\xF7 - \xC6\xF7\xBC\xFE\xA3\xBA\xCE\xDE"};  // "Tamsu系列编程器 - 器件：无"
inline constexpr char kMainCompanyText[][48] = {
    "(c) ShenZhen Pelta",
    "(c) \xC9\xEE\xDB\xDA" "Drumel" "\xBF\xC6\xBC\xBC\xD3\xD0\xCF\xDE\xB9\xAB\xCB\xBE"};  // "(c) 深圳Drumel科技有限公司"

enum CompanionControl {
  kIdVendorAddress = 2001,
  kIdDeviceList = 2002,
  kIdDescription = 2003,
  kIdAboutPicture = 2004,
  kIdAboutVendorAddress = 2005,
  kIdAboutEmail = 2006,
  kIdLog = 2007,  // made by the first log line
};
