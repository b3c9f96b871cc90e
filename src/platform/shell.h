#pragma once

#include <functional>

#include "platform/text.h"

namespace zedade {

// Hands an address, unchanged, to the desktop's default handler for it ("open"). Like the
// Windows shell, a scheme-less "www." address is taken as an http address. The outcome is not
// reported.
void OpenAddress(const Text& address);

// Replaces where OpenAddress hands addresses (tests watch it here); an empty function restores
// the desktop's handler.
void SetOpenAddressHandler(std::function<void(const Text&)> handler);

// Starts a program file as a new process with its full path as the command line and does not wait
// for it to end. A file without the owner's execute bit (a fresh download) gets it first, as a
// program file must have it here. Returns whether the process started.
bool StartProgram(const std::string& path);

}  // namespace zedade
