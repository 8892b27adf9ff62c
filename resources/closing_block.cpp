// The closing block appended to every lesson, compiled by vintrel-book from
// resources/book/closing.txt.
#include "content/article_trailer.h"

namespace {
const BYTE ClosingBlock[ArticleTrailerSize] = {
#include "closing.inc"
};
}  // namespace

const BYTE (&ArticleTrailer)[ArticleTrailerSize] = ClosingBlock;
