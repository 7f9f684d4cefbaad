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
};

enum CompanionControl {
  kIdVendorAddress = 2001,
  kIdDeviceList = 2002,
  kIdDescription = 2003,
  kIdAboutPicture = 2004,
  kIdAboutVendorAddress = 2005,
  kIdAboutEmail = 2006,
  kIdLog = 2007,  // made by the first log line
};
