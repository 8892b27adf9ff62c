#include "view/title_banner.h"

#include <algorithm>

#include "content/article_format.h"
#include "text/text_run.h"
#include "view/style_font.h"
#include "view/view_colours.h"

namespace {

// The banner's frames, from the outside in: their colours and pixel counts.
struct Frame {
  COLORREF Colour;
  int Count;
};
constexpr Frame Frames[] = {{BannerOuterFrame, 2}, {BannerMiddleFrame, 1}, {BannerInnerFrame, 2}};
// Pixels between the box's outer edge and the lines: the frames' five, on every side.
constexpr int FrameWidth = 5;
// The box ends this far above the view's bottom edge.
constexpr int BottomGap = 2;
// Room beside the widest line: 2 x the line height + this.
constexpr int SideRoom = 8;

void TakeLine(const ParagraphRecord& record, BannerLine* line) {
  if (!line) return;
  line->Tag = record.Flags;
  line->Text = record.Text;
  line->Length = record.Length;
}

bool IsRightToLeft(const BannerLine& line) { return line.Tag & RightToLeft; }

int RunWidth(ArticleView* view, bool rightToLeft, const BYTE* bytes, int count) {
  int width = UnlimitedWidth;
  FitDirectedRun(view->Dc, view->WidthTable, rightToLeft, bytes, &width, &count);
  return width;
}

// A right-to-left line wider than the view keeps the bytes it begins with in reading
// order, its last stored ones: the leading stored bytes go until the rest fits, and the
// points standing before the first letter kept stay with it.
void KeepReadingStart(ArticleView* view, BannerLine* line) {
  int width = RunWidth(view, true, line->Text, line->Length);
  int from = 0;
  while (from < line->Length && width > view->Width)
    width -= RunWidth(view, true, line->Text + from++, 1);
  while (from > 0 && IsVowelPoint(line->Text[from - 1])) --from;
  line->Text += from;
  line->Length -= from;
  line->Width = width;
}

// The bytes of the line that fit the view's width, and their width.
void MeasureLine(ArticleView* view, BannerLine* line) {
  if (!line->Length) return;
  if (IsRightToLeft(*line)) return KeepReadingStart(view, line);
  int width = view->Width, count = line->Length;
  FitDirectedRun(view->Dc, view->WidthTable, false, line->Text, &width, &count);
  line->Width = width;
  line->Length = count;
}

RECT BannerBox(const ArticleView* view, LONG widest, int lines, int height) {
  LONG width = std::min<LONG>(widest + 2 * height + SideRoom, view->Width);
  RECT box;
  box.left = view->Left + (view->Width - width) / 2;
  box.right = box.left + width;
  box.top = view->Top + view->Height - lines * height - BottomGap - 2 * FrameWidth;
  box.bottom = view->Top + view->Height - BottomGap;
  return box;
}

void DrawFramesAndInside(HDC dc, RECT* box) {
  for (const Frame& frame : Frames) DrawFrames(dc, box, frame.Colour, frame.Count);
  HBRUSH yellow = CreateSolidBrush(BannerBackground);
  if (!yellow) return;
  FillRect(dc, box, yellow);
  DeleteObject(yellow);
}

void DrawLine(ArticleView* view, const BannerLine& line, const RECT& inside, int y, int height) {
  int x = inside.left + (inside.right - inside.left - line.Width) / 2;
  DrawColouredDirectedRun(view->Dc, view->WidthTable, IsRightToLeft(line), line.Text, line.Length,
                          x, y, line.Width, height, BannerText, BannerBackground);
}

}  // namespace

void FindBannerLines(const BYTE* text, BannerLine* title, BannerLine* subtitle) {
  if (title) *title = BannerLine{};
  if (subtitle) *subtitle = BannerLine{};
  ParagraphRecord record;
  if (!text || !FirstRecord(text, &record)) return;
  if (IsTitleTag(record.Flags)) {
    TakeLine(record, title);
    if (!NextRecord(text, &record)) return;
  }
  if (IsSubtitleTag(record.Flags)) TakeLine(record, subtitle);
}

void DrawTitleBanner(ArticleView* view) {
  if (!view || !view->Dc) return;
  BannerLine lines[2];
  FindBannerLines(view->Text, &lines[0], &lines[1]);
  if (!lines[0].Length && !lines[1].Length) return;
  COLORREF keptColour = GetTextColor(view->Dc);
  HGDIOBJ keptFont = SelectStyleFontKeeping(view, SmallStyle | ColourRequest);
  int count = lines[0].Length && lines[1].Length ? 2 : 1;
  TEXTMETRICW metrics = {};
  GetTextMetricsW(view->Dc, &metrics);
  int height = metrics.tmHeight;
  for (BannerLine& line : lines) MeasureLine(view, &line);
  RECT box = BannerBox(view, std::max(lines[0].Width, lines[1].Width), count, height);
  DrawFramesAndInside(view->Dc, &box);
  int y = box.top;
  for (const BannerLine& line : lines) {
    if (!line.Length) continue;
    DrawLine(view, line, box, y, height);
    y += height;
  }
  SelectObject(view->Dc, keptFont);
  SetTextColor(view->Dc, keptColour);
}
