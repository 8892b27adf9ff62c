// Finding installed faces through fontconfig: the best match for a requested face and
// style (as a font mapper would), and the list of installed families.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gdi/font_instance.h"

namespace gdi {

// The face that best serves the request; none only when no font is installed at all.
// An empty face, "System" and "Tahoma" ask for the user-interface sans font.
std::optional<FaceFile> MatchFace(const std::u16string& family, bool bold, bool italic,
                                  bool hebrew);

// One entry per installed scalable family, sorted by name; `path`/`index` name the face
// that stands for the family (its regular one when it has it).
std::vector<FaceFile> InstalledFamilies();

}  // namespace gdi
