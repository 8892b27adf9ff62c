// The application state the table of contents reads, for its tests and its benchmark:
// the in-memory screen with the shell, the reading font (Miriam CLM, 16, code base
// 1488) and the outline's plus, minus and page marks loaded from the resources.
#pragma once

namespace test_support {

// Clears the application state, then installs the screen, the font and the marks.
void InstallOutlineState();
// Frees the marks and clears the application state again, then removes the screen.
void RemoveOutlineState();

}  // namespace test_support
