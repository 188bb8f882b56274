#pragma once
// Whether a JPEG file holds its whole picture: a copy cut short (a card
// pulled out, a transfer broken off) keeps a readable head but loses the end
// of its data, and the decoder refuses it. Found before a run plans its pages,
// such a picture can be left out of them.
#include <string>

namespace galvora {

// True when the file's compressed data runs up to its end marker (EOI). The
// marker is looked for at the end of the file first; a file with more after
// it (padding, a trailer) is walked marker by marker. False for a file that
// cannot be read or ends before the marker.
bool jpeg_vollstaendig(const std::string& path);

}  // namespace galvora
