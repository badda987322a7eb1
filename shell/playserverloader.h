#pragma once

#include <QString>

#include <memory>

#include "playserver.h"

// A test play's server for `folder` from the server module, which is loaded on the first call
// and stays loaded; null with `error` set when the module cannot be loaded. The module is
// looked for in RKEDIT_PLAY_SERVER (a path, for tests), beside the program (a build tree),
// then where `cmake --install` puts it relative to the program.
std::unique_ptr<PlayServer> loadPlayServer(const QString& folder, QString& error);
// Whether this process has loaded the module.
bool playServerModuleLoaded();
