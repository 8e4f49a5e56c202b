#pragma once
// The folder that holds every state file of the program (appDir), with a trailing "/".

#include <QString>

namespace platform {

// PLOVANA_APPDIR when set; else the executable's folder when a marker file
// "plovana.portable" stands beside the executable (a portable copy, the build folder);
// else $XDG_DATA_HOME/plovana (~/.local/share/plovana when XDG_DATA_HOME is unset).
QString resolveAppDir(const QString &executableDir, const QString &envAppDir,
                      const QString &xdgDataHome, const QString &home);

// resolveAppDir for this process; creates the folder when it is missing.
QString applicationStateDir();

} // namespace platform
