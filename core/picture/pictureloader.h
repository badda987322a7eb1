#pragma once

#include <functional>
#include <string>

#include "picture/pictureblock.h"

class Host;

// Decodes the JPEG file at `path` (file system encoding) into a new picture block and makes
// `holder` refer to it. `beforeDecoding` runs once the file is open, before decoding starts
// (the panel's browse buttons show the chosen path there). On any failure the host shows
// "ファイルをオープンできません。" once and false is returned.
bool loadPicture(const std::string& path, PictureHolder& holder, Host& host,
                 const std::function<void()>& beforeDecoding = {});
