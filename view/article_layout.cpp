// Breaking an article into display lines: direction, alignment, margins, a hanging
// first word, rules and blank lines.
#include <cstdlib>
#include <cstring>

#include "content/article_format.h"
#include "text/text_run.h"
#include "view/article_view.h"
#include "view/style_font.h"

namespace {

constexpr BYTE Space = 0x20;
constexpr BYTE Hyphen = 0x2D;

// The state that runs through one layout.
struct Layout {
  ArticleView* view;
  const BYTE* text;  // the text being laid out
  int index;   // next entry
  BYTE style;  // flags of the paragraph whose font is selected
  TEXTMETRICW metrics;
  WORD margin;  // running margin
  BYTE previousSecond;  // second byte of the record before
};

bool ReadMetrics(Layout& layout) {
  memset(&layout.metrics, 0, sizeof layout.metrics);
  return GetTextMetricsW(layout.view->Dc, &layout.metrics);
}

// A stream whose terminator lies beyond the reach of 16-bit offsets cannot be laid
// out: the walk stops at the first record it cannot reach, where no terminator stands.
bool FitsSixteenBitOffsets(const BYTE* text) { return text[ArticleStreamLength(text)] == 0; }

bool IsUsableStart(const BYTE* text) {
  if (!text[0]) return false;
  return text[2] || IsRuleRecord(text[0]);
}

LineEntry* NextEntry(Layout& layout) {
  ArticleView* view = layout.view;
  if (layout.index >= view->LineCapacity && GrowLineTable(view, layout.index) != 0) return nullptr;
  return &view->Lines[layout.index];
}

WORD AlignedX(const ArticleView* view, BYTE flags, int margin, int used, int runWidth) {
  switch (AlignmentOf(flags)) {
    case AlignRight: return WORD(view->Left + view->Width - used - runWidth);
    case AlignCentre: return WORD(view->Left + margin + (view->Width - used - runWidth) / 2);
    case AlignLeft: break;
  }
  return WORD(view->Left + used);
}

WORD TextOffset(const ParagraphRecord& r) { return WORD(r.Offset + 2); }

bool LayOutRule(Layout& layout, const ParagraphRecord& r) {
  if (!r.Second) return true;
  LineEntry* entry = NextEntry(layout);
  if (!entry) return false;
  ArticleView* view = layout.view;
  int length = RuleLength(r.Second, view->Width);
  *entry = {};
  entry->Offset = TextOffset(r);
  entry->Width = WORD(length);
  entry->Height = WORD(layout.metrics.tmHeight);
  entry->ParaFlags = r.Flags;
  entry->X = AlignedX(view, r.Flags, 0, 0, length);
  layout.index += 1;
  if (r.Flags & BlankAfter) view->DisplayLineCount += 1;
  return true;
}

// Fits up to count bytes at p into *width pixels, measured as the paragraph's
// direction requires; false when the run could not be measured.
bool Fit(Layout& layout, bool rightToLeft, const BYTE* p, int* width, int* count) {
  return FitDirectedRun(layout.view->Dc, layout.view->WidthTable, rightToLeft, p, width, count);
}

// Moves a fit that ended inside a word back to the last space (the line ends before
// it) or hyphen (which stays on the line); a word with neither is cut where it fitted.
// False when the shorter run could not be measured.
bool BreakAtWordEnd(Layout& layout, bool rightToLeft, const BYTE* p, int* k, int* w) {
  if (!p[*k] || p[*k] == Space) return true;
  for (int t = *k - 1; t >= 1; --t) {
    if (p[t] != Space && p[t] != Hyphen) continue;
    *k = p[t] == Space ? t : t + 1;
    return Fit(layout, rightToLeft, p, w, k);
  }
  return true;
}

bool OnlySpaces(const BYTE* p) {
  while (*p == Space) ++p;
  return !*p;
}

// Lays out the lines of one text paragraph; false when the table cannot grow or a run
// cannot be measured.
bool LayOutLines(Layout& layout, const ParagraphRecord& r, const BYTE* work, int hang) {
  ArticleView* view = layout.view;
  bool rightToLeft = r.Flags & RightToLeft;
  int n = r.Length;
  const BYTE* p = work;
  if (layout.margin >= view->Width) layout.margin = 0;
  while (*p) {
    while (*p == Space) {
      ++p;
      --n;
    }
    if (!*p) break;
    LineEntry* entry = NextEntry(layout);
    if (!entry) return false;
    // Margins and hanging columns may leave no room at all; the fit then takes nothing.
    int avail = view->Width - layout.margin;
    if (avail < 0) avail = 0;
    int count = n;
    const BYTE* wordStart = p;
    if (hang) {
      while (*p && *p != Space) ++p;
      while (*p == Space) ++p;
      count -= int(p - wordStart);
      avail = avail > hang ? avail - hang : 0;
    }
    int w = avail, k = count;
    if (!Fit(layout, rightToLeft, p, &w, &k) || !BreakAtWordEnd(layout, rightToLeft, p, &k, &w))
      return false;
    if (k == 0 && !hang && *p) {
      // Not even one byte fits: take one anyway, so that every line makes progress.
      w = UnlimitedWidth;
      k = 1;
      if (!Fit(layout, rightToLeft, p, &w, &k)) return false;
      k = 1;
    }
    *entry = {};
    if (rightToLeft) entry->Offset = WORD(TextOffset(r) + r.Length - (p - work) - k);
    else entry->Offset = WORD((hang ? wordStart : p) - layout.text);
    entry->Length = WORD(k);
    entry->HangWidth = WORD(hang);
    entry->Width = WORD(w);
    entry->Height = WORD(layout.metrics.tmHeight);
    int used = layout.margin + hang;
    entry->X = AlignedX(view, r.Flags, layout.margin, used, w);
    layout.margin = WORD(used);
    if (hang) {
      k += int(p - wordStart);
      p = wordStart;
      hang = 0;
    }
    bool last = k == n || OnlySpaces(p + k);
    entry->ParaFlags = last ? r.Flags : BYTE(r.Flags & ~BlankAfter);
    if (last && (r.Flags & BlankAfter)) view->DisplayLineCount += 1;
    layout.index += 1;
    p += k;
    n -= k;
  }
  return true;
}

// 0 when laid out, else the failure status.
WORD LayOutText(Layout& layout, const ParagraphRecord& r, int factor) {
  ArticleView* view = layout.view;
  // A style font or metrics that cannot be had (memory ran out) fail the layout rather
  // than measure the text in another font.
  if (StyleKey(r.Flags ^ layout.style) && (!SelectStyleFont(view, r.Flags) || !ReadMetrics(layout)))
    return LayoutOutOfMemory;
  layout.style = r.Flags;
  int hang = 0;
  if (factor) {
    layout.margin = WORD(Margin(BYTE(layout.margin)));
    hang = (factor + 1) * layout.metrics.tmMaxCharWidth / 2;
  }
  const BYTE* work = r.Text;
  BYTE* reversed = nullptr;
  if (r.Flags & RightToLeft) {
    // Right-to-left text is stored in display order; lines break in reading order.
    reversed = static_cast<BYTE*>(malloc(size_t(r.Length) + 1));
    if (!reversed) return LayoutOutOfMemory;
    for (int j = 0; j < r.Length; ++j) reversed[j] = r.Text[r.Length - 1 - j];
    reversed[r.Length] = 0;
    work = reversed;
  }
  bool done = LayOutLines(layout, r, work, hang);
  free(reversed);
  return done ? 0 : LayoutOutOfMemory;
}

WORD LayOutRecords(Layout& layout) {
  ParagraphRecord r;
  for (bool more = FirstRecord(layout.text, &r); more; more = NextRecord(layout.text, &r)) {
    int factor = HangFactor(r.Second);
    if (factor && r.Text[0] == Space && layout.index > 0) {
      // A continuation hangs no word of its own and keeps the previous hanging position.
      layout.margin = WORD(layout.margin + Margin(r.Second) - Margin(layout.previousSecond));
      factor = 0;
    } else {
      layout.margin = r.Second;
    }
    layout.previousSecond = r.Second;
    WORD status;
    if (IsRuleRecord(r.Flags)) status = LayOutRule(layout, r) ? 0 : LayoutOutOfMemory;
    else status = LayOutText(layout, r, factor);
    if (status) return status;
  }
  return 0;
}

}  // namespace

// The lines go to a table of their own while they are laid out: the view keeps its
// text, table and counts until the layout is done, so a failure leaves its page as it
// was.
WORD LayoutArticle(ArticleView* view, BYTE* text, bool freeOld) {
  if (!view) return LayoutNoView;
  if (!text || !IsUsableStart(text) || !FitsSixteenBitOffsets(text)) {
    // Nothing to lay out: the highlight and the counts go, the lines and text stay
    // (freeOld without a text lets the text go too).
    view->HighlightStart = view->HighlightEnd = 0;
    view->BannerShown = false;
    view->DisplayLineCount = 0;
    view->LastTopLine = 0;
    if (text) return LayoutUnusable;
    if (freeOld) {
      free(view->Text);
      view->Text = nullptr;
    }
    return LayoutNoText;
  }
  LineEntry* keptLines = view->Lines;
  WORD keptCapacity = view->LineCapacity;
  WORD keptDisplayLines = view->DisplayLineCount;
  WORD capacity = keptLines && keptCapacity ? keptCapacity : 128;
  view->Lines = static_cast<LineEntry*>(malloc(sizeof(LineEntry) * (size_t(capacity) + 1)));
  if (!view->Lines) {
    view->Lines = keptLines;
    return LayoutOutOfMemory;
  }
  view->LineCapacity = capacity;
  view->DisplayLineCount = 0;
  Layout layout = {};
  layout.view = view;
  layout.text = text;
  HGDIOBJ kept = GetCurrentObject(view->Dc, OBJ_FONT);
  layout.style = BaseStyle;
  WORD status = SelectStyleFont(view, BaseStyle) && ReadMetrics(layout) ? LayOutRecords(layout)
                                                                         : LayoutOutOfMemory;
  SelectObject(view->Dc, kept);
  if (status) {
    free(view->Lines);
    view->Lines = keptLines;
    view->LineCapacity = keptCapacity;
    view->DisplayLineCount = keptDisplayLines;
    return status;
  }
  free(keptLines);
  if (freeOld && view->Text != text) free(view->Text);
  memset(&view->Lines[layout.index], 0, sizeof(LineEntry));
  view->LineCount = WORD(layout.index);
  view->DisplayLineCount = WORD(view->DisplayLineCount + layout.index);
  if (layout.index > 0 && (view->Lines[layout.index - 1].ParaFlags & BlankAfter)) {
    view->Lines[layout.index - 1].ParaFlags &= BYTE(~BlankAfter);
    view->DisplayLineCount -= 1;
  }
  view->Text = text;
  view->HighlightStart = view->HighlightEnd = 0;
  view->BannerShown = false;
  view->LastTopLine = 0;
  ComputeLastTopLine(view);
  return LayoutDone;
}
