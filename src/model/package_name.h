// The package a script belongs to, named by where it lies below the scanned
// directory: the folder that holds its "Classes" folder (any case), as in
// "Core/Classes/Entity.kc"; else the folder that holds it, as in
// "Weapons/Ammo.kc"; a script straight in the scanned directory has none.
#pragma once

#include <string_view>

/// The package of the script at `path`, relative to the scanned directory,
/// its folders separated by "/" or by `separator`: a view into `path`, empty
/// when it has none.
std::string_view PackageOf(std::string_view path, char separator);
