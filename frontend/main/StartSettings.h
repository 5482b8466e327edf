#pragma once
// The settings steps of the main window's load: the port code and the two
// directories are read (the directories with their defaults), the text boxes
// get the directories without their blanks, and the three values are written
// back in this order: the trimmed port code, the send directory as read, the
// receive directory as read. So after the first start the store holds these
// three keys; the speed code appears only once the port settings are
// confirmed.

#include <string>

class SettingsStore;

struct DirectoryBoxes {
  std::string sendDir;  // the text of txtSendDir
  std::string recvDir;  // the text of txtRecvDir
};

DirectoryBoxes LoadStartSettings(SettingsStore& store);
