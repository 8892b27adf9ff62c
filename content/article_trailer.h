// The closing block appended to every lesson: the publisher's closing notice, as eight
// paragraph records (a full-width rule, six small right-to-left paragraphs, one small
// left-to-right contact line) and the terminating zero flags byte.
#pragma once

#include "platform.h"

constexpr DWORD ArticleTrailerSize = 878;
// A loaded article ends with the closing block and three zero bytes after them.
constexpr DWORD ArticleEndZeros = 3;
constexpr DWORD ArticleTailSize = ArticleTrailerSize + ArticleEndZeros;

// The block is the book's: vintrel-book compiles it from the closing notice among the
// book's sources (resources/closing_block.cpp holds it).
extern const BYTE (&ArticleTrailer)[ArticleTrailerSize];

// The stream's paragraph records (at most size bytes of it are read), then the closing
// block, then three zero bytes, in a new buffer; the old one is freed. Without memory
// for the new buffer the old stream comes back, terminated after its last complete
// record.
BYTE* AppendArticleTrailer(BYTE* stream, DWORD size);
