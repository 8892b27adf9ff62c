// The search through the book: the next match of the stored pattern from the reading
// position on, through every other lesson and back to the shown one, and the match
// shown: its lesson made current, the view moved to it, the match highlighted and the
// lesson's title banner drawn.
#pragma once

#include "content/lesson_record.h"
#include "platform.h"

struct ArticleView;

// 1 when a match is shown; 0 when the pattern is empty, there is no view, or nothing was
// found, which "Not Found!" (owned by window) says and which changes nothing.
int SearchNext(HWND window);

// Where a match stands: its lesson, the offset of its highest byte and its length; the
// lesson's text when it is not the one shown (the caller owns it), else null.
struct SearchHit {
  LessonNumber Lesson;
  BYTE* Text;
  WORD Offset;
  WORD Length;
};

// The next match without showing it: the shown lesson from the reading position, the
// lessons after it (267 going on with 1), then the shown lesson from its start. A lesson
// that cannot be loaded is passed over. False when nothing matched.
bool FindNextMatch(SearchHit* hit);

// The offset the shown lesson is searched on from: the top line's first byte in reading
// order, or, while the last match is still in view, just past it.
WORD SearchStartOffset(const ArticleView* view);

// The stored pattern's first match in the text from start on (SearchArticleFor), its
// paragraph list taken from AllocOrQuit.
WORD SearchArticle(const BYTE* text, WORD start, WORD* length);
