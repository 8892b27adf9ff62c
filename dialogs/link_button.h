// The About box's link: an owner-drawn button that looks like a web link, its caption
// underlined and heavy, blue on white in every state, sized to its caption.
#pragma once

#include "platform.h"

// Gives the link (control IDC_HOME_LINK) an underlined weight-800 font made from its
// current one ("Tahoma" when it names no face, 10 points when it gives no height) and
// fits the button to its caption, keeping its place. The new font (the caller deletes
// it), or null when none could be made: the link then keeps its font and size.
HFONT SetupLinkButton(HWND dialog);
// WM_DRAWITEM of control `id`: its rectangle white with the caption over it in blue.
void DrawLinkButton(HWND dialog, int id, const DRAWITEMSTRUCT* item);
