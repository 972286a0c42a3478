// The host's store as the locator's files see it: the data folder and the
// host calls that name folders.
#pragma once

#include <string>
#include <string_view>

#include "resolve/locator/index_scan.h"

namespace lumo::locator {

// The host's data folder, ending in "\"; empty when the host gives none.
std::string dataFolder();

// Searches one folder's index with a scanner shared by a whole walk (see
// FindMailInFolder for `folder`). `data` is the data folder.
std::string findMailInFolder(IndexScanner& scanner, std::string_view folder, const std::string& data);

// Walks below a directory inside the data folder (see SearchFolderTree).
std::string searchFolderTree(IndexScanner& scanner, const std::string& directory, const std::string& data);

}  // namespace lumo::locator
