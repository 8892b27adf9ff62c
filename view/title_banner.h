// The title banner: a framed box at the bottom of the view with the article's title
// and subtitle, the paragraphs its head carries under their exact header tags. The
// search draws it after it has moved the view to a match, to say which lesson that is.
#pragma once

#include "view/article_view.h"

// One line of the banner.
struct BannerLine {
  LONG Length;  // text bytes; 0 when the line is absent; after measuring, those that fit
  LONG Width;   // extent of those bytes in pixels, once measured
  BYTE Tag;     // the paragraph's flags byte: 0xCC, 0xDC, 0xC1 or 0xD1
  const BYTE* Text;  // the paragraph's first text byte inside the article
};

// Fills the records given (either may be null): the title is a first record tagged
// exactly 0xCC or 0xDC, the subtitle the record after it (or the first record) tagged
// exactly 0xC1 or 0xD1. A line that is not there, or has no text, keeps Length 0.
void FindBannerLines(const BYTE* text, BannerLine* title, BannerLine* subtitle);

// Draws the banner of the view's text in the small style's font, each line through the
// code base of its direction; nothing when the text has neither line.
void DrawTitleBanner(ArticleView* view);
