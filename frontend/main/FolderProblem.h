#pragma once
// What the program tells the operator when the library refused the receive
// folder (-11) or the send folder (-12): the library's own message as the
// first line, then the folder and why it cannot be used, and for a folder
// that is not there, whether the program should make it and transfer again.

#include <string>

enum class FolderProblem {
  NotGiven,     // the box is empty
  Missing,      // nothing of that name
  NotAFolder,   // a file (or a device) of that name
  NotWritable,  // the receive folder refuses new files
  NotEncodable, // its name has characters the system's 8-bit encoding lacks
  NotKnown,     // the folder looks usable now; the library saw it otherwise
};

// Looks at the folder as the library does: the receive folder must take new
// files, the send folder must be a folder. UTF-8, the platform's separators.
FolderProblem CheckFolder(const std::string& dir, bool mustBeWritable);

struct FolderMessage {
  std::string text;          // UTF-8, lines separated by '\n'
  bool offerCreate = false;  // a Yes/No question: make the folder and transfer again
};

// The message for -11 or -12 about dir; empty text for every other result.
FolderMessage FolderErrorMessage(int result, const std::string& dir, FolderProblem problem);

// The message when the folder could not be made; reason in the system's words.
std::string FolderNotMadeMessage(int result, const std::string& dir, const std::string& reason);

// Makes dir with every missing level above it; a relative path is taken from
// the current directory. False with the system's reason in *reason when a
// level cannot be made.
bool MakeFolder(const std::string& dir, std::string* reason);
