// The sample skin's pictures of the playlist and its scroll bar, drawn by the skin generator.
#pragma once

#include <string>

namespace demo {

// Writes the list_*.png and scroll_*.png pictures into `folder`; false when one failed.
bool DrawPlaylistPictures(const std::string& folder);

} // namespace demo
