#include "content/article_trailer.h"

#include <cstring>

#include "content/article_format.h"

namespace {

// The letter code of one character of right-to-left text: the letters alef to tav at
// 0x61 to 0x7B in the order of the Unicode block (each final form before its normal
// form), the vowel points at 21 to 31, space, digits and ASCII punctuation as
// themselves. Anything else stops the build.
constexpr BYTE HebrewLetterCode(char16_t unit) {
  if (unit >= u'\u05D0' && unit <= u'\u05EA') return BYTE(unit - u'\u05D0' + 0x61);
  constexpr char16_t points[] = u"\u05B4\u05B8\u05B7\u05B5\u05B6\u05BB\u05B0\u05B3\u05B2\u05B1\u05B9";
  for (BYTE i = 0; i < 11; ++i)
    if (unit == points[i]) return BYTE(21 + i);
  if ((unit >= 0x20 && unit <= 0x40) || (unit >= 0x5B && unit <= 0x60)) return BYTE(unit);
  throw "no letter code for this character";
}

// A left-to-right text keeps its printable ASCII bytes as they are.
constexpr BYTE AsciiCode(char16_t unit) {
  if (unit >= 0x20 && unit <= 0x7E) return BYTE(unit);
  throw "not a printable ASCII character";
}

struct TrailerParagraph {
  BYTE Flags;
  BYTE Second;
  const char16_t* Text;  // right-to-left text in reading order; ASCII otherwise
  DWORD Length;          // bytes the text takes
};

// Full-width rule, then the notice in small type, blank line after each paragraph.
constexpr BYTE CentredRule = RuleRecord | AlignCentreBit;           // 0x47
constexpr BYTE NoticeParagraph = BlankAfter | AlignRightBit | RightToLeft | SmallStyle;  // 0xB2
constexpr BYTE ContactLine = BlankAfter | SmallStyle;               // 0x82

constexpr TrailerParagraph TrailerParagraphs[] = {
    {CentredRule, 210, u"", 0},
    {NoticeParagraph, 0,
     u"כאן נחתם לימוד היום בספר וינטרל לשנת תשס\"ה. הספר הוכן ונערך בידי הוצאת נורבן, "
     u"והוא מוגש לציבור הלומדים כדי שיוכלו ללמוד בכל יום את השיעור הקבוע לו, בכל מקום "
     u"ובכל שעה. אנו מודים לכל מי שסייע בהכנת המהדורה ובבדיקת הטקסט, ומבקשים מהקוראים "
     u"להודיע לנו על כל טעות שתימצא בה, כדי שנוכל לתקנה במהדורה הבאה.",
     298},
    {NoticeParagraph, 0,
     u"כל הזכויות שמורות להוצאת נורבן. אין להעתיק, לשכפל או להפיץ חלקים מן הספר בלי רשות.",
     82},
    {NoticeParagraph, 0,
     u"המהדורה הזאת מיועדת לשימוש אישי בלבד. העדכונים למהדורה ותיקוני הטעויות יתפרסמו "
     u"מעת לעת באתר ההוצאה ברשת.",
     104},
    {NoticeParagraph, 0,
     u"הסדר היומי של השיעורים נקבע לפי לוח השנה העברי: בכל יום מופיע השיעור המתאים לו, "
     u"ובפקודה \"היום\" אפשר לחזור אליו מכל מקום בספר. החיפוש עובר על כל שיעורי הספר.",
     156},
    {NoticeParagraph, 0,
     u"נשמח לשמוע מכם הערות, הצעות ושאלות על הספר ועל התוכנה. את כל הפניות תוכלו לשלוח "
     u"אלינו בדואר או ברשת.",
     100},
    {NoticeParagraph, 0, u"תודה רבה שבחרתם בספרֵי הוצאת נורבן. לימוד מועיל ומהנה, ולְהִתְרָאוֹת!",
     69},
    {ContactLine, 0, u"Norvane Publishing, info@norvane.example.org", 44},
};

constexpr DWORD TextLength(const char16_t* text) {
  DWORD length = 0;
  while (text[length] != 0) ++length;
  return length;
}

struct TrailerBlock {
  BYTE Bytes[ArticleTrailerSize];
};

// Right-to-left text goes in display order: the reading order reversed, which also
// puts each vowel point just before its letter.
constexpr TrailerBlock BuildTrailer() {
  TrailerBlock block{};
  DWORD at = 0;
  for (const TrailerParagraph& paragraph : TrailerParagraphs) {
    if (TextLength(paragraph.Text) != paragraph.Length) throw "paragraph of the wrong length";
    block.Bytes[at++] = paragraph.Flags;
    block.Bytes[at++] = paragraph.Second;
    const bool rightToLeft = paragraph.Flags & RightToLeft;
    for (DWORD i = 0; i < paragraph.Length; ++i)
      block.Bytes[at++] = rightToLeft ? HebrewLetterCode(paragraph.Text[paragraph.Length - 1 - i])
                                      : AsciiCode(paragraph.Text[i]);
    block.Bytes[at++] = 0;
  }
  block.Bytes[at++] = 0;  // the terminating flags byte
  if (at != ArticleTrailerSize) throw "closing block of the wrong size";
  return block;
}

constexpr TrailerBlock Trailer = BuildTrailer();

}  // namespace

const BYTE (&ArticleTrailer)[ArticleTrailerSize] = Trailer.Bytes;

BYTE* AppendArticleTrailer(BYTE* stream, DWORD size) {
  const WORD length = ArticleStreamLength(stream, size);
  BYTE* article = static_cast<BYTE*>(malloc(length + ArticleTrailerSize + 3));
  if (article == nullptr) {
    // Shown without the closing block; a record cut off at the end is dropped.
    if (length < size) stream[length] = 0;
    return stream;
  }
  std::memcpy(article, stream, length);
  std::memcpy(article + length, ArticleTrailer, ArticleTrailerSize);
  std::memset(article + length + ArticleTrailerSize, 0, 3);
  free(stream);
  return article;
}
