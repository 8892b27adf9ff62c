#include "content/article_trailer.h"

#include <cstring>

#include "content/article_format.h"

BYTE* AppendArticleTrailer(BYTE* stream, DWORD size) {
  const WORD length = ArticleStreamLength(stream, size);
  BYTE* article = static_cast<BYTE*>(malloc(length + ArticleTailSize));
  if (article == nullptr) {
    // Shown without the closing block; a record cut off at the end is dropped.
    if (length < size) stream[length] = 0;
    return stream;
  }
  std::memcpy(article, stream, length);
  std::memcpy(article + length, ArticleTrailer, ArticleTrailerSize);
  std::memset(article + length + ArticleTrailerSize, 0, ArticleEndZeros);
  free(stream);
  return article;
}
