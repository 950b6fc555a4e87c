// The core tests' private temporary folder, made before the first test and removed after
// the last.
#include "../private_folders.h"

namespace {
morvath::PrivateFolders folders;
}  // namespace
