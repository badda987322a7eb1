#pragma once

#include <string>

// The largest thumbnail side rkstage makes.
inline constexpr int maxThumbnailSize = 4096;

// rkstage render IN OUT.png --size N: the settled stage window reduced so that its longer
// side is `size` pixels (aspect kept), with the picture decoded at a reduced size. Returns
// the exit status (messages on stderr).
int renderThumbnail(const std::string& in, const std::string& out, int size, int gridMode,
                    int referenceDisplay);
