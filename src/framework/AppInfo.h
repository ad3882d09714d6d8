#pragma once

#include <QString>

// The version comes from the CMake project version, handed to quillmere_widgets
// as compile definitions, so that it is typed in one place only.
#if !defined(QUILLMERE_VERSION_MAJOR) || !defined(QUILLMERE_VERSION_MINOR) \
    || !defined(QUILLMERE_VERSION_PATCH)
#error "AppInfo.h needs the QUILLMERE_VERSION_* definitions of quillmere_widgets"
#endif

// What the application says about itself in captions and the About dialog.
namespace AppInfo {

inline const QString Title = QStringLiteral("澜石层叠样式表编辑器");

inline constexpr int VersionMajor = QUILLMERE_VERSION_MAJOR;
inline constexpr int VersionMinor = QUILLMERE_VERSION_MINOR;
inline constexpr int VersionPatch = QUILLMERE_VERSION_PATCH;

} // namespace AppInfo
