// Packages: the folder a script belongs to, and the page that lists every
// package with its classes. A script's package is the name of the folder
// that holds its "Classes" folder (any case), else the name of the folder
// that holds the script; a script straight in the scanned directory has none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CClassList;

namespace platform {
class COutputFile;
}

/// The packages of a list, each once: names equal but for case are one.
struct PackageList {
  struct Package {
    std::string name;               // as the first of its records in list order spells it
    std::vector<uint32_t> classes;  // in list order
    size_t states = 0;
  };
  /// In name order, case ignored; the scripts without a package last, as a
  /// package with an empty name, when there are any.
  std::vector<Package> packages;
  /// For each record, its package's position in `packages`; kOutside for a
  /// record outside the tree.
  std::vector<uint32_t> ofRecord;
  static constexpr uint32_t kOutside = UINT32_MAX;
};

/// The packages of the records of the linked and sorted `list` that are
/// `reachable` in its tree (the records that have pages).
PackageList CollectPackages(const CClassList& list, const std::vector<bool>& reachable);

/// Appends the link to package `name`'s entry on the packages page, its text
/// the name.
void AppendPackageLink(std::string& out, std::string_view name);

/// Appends the line of a rich record page that names its package `name`,
/// linked to its entry; nothing when the name is empty.
void AppendPackageOfRecord(std::string& page, std::string_view name);

/// Writes the packages page of `list` into `out`.
void WritePackagesPage(platform::COutputFile& out, const CClassList& list);
