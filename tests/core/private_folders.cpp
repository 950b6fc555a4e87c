// The core tests' private scratch folder, made before the first test and removed after
// the last.
#include "../private_folders.h"

namespace {
morvath::PrivateFolders folders;
}  // namespace
