// The audio reader where TagLib is not built: no file gives tags.
#include "transform/AudioMetadata.h"

namespace nomvarix {

std::optional<AudioMetadata> ReadAudioMetadata(const ReadableFile&, std::u16string_view) { return std::nullopt; }

}  // namespace nomvarix
