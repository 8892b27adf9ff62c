#include "dialogs/font_list.h"

#include <cstdlib>
#include <cstring>

namespace {

struct FontList {
  FontListNode* First;
  FontListNode* Last;
  FontListNode* NextFree;  // the next unused node of the current block
  int FreeNodes;           // nodes left in the current block
};

FontList Fonts;

// A new zero-filled block of nodes, its first one marked; false when there is no memory.
bool TakeNewBlock() {
  auto* block = static_cast<FontListNode*>(malloc(FontNodesPerBlock * sizeof(FontListNode)));
  if (!block) return false;
  std::memset(block, 0, FontNodesPerBlock * sizeof(FontListNode));
  block->BlockStart = 1;
  Fonts.NextFree = block;
  Fonts.FreeNodes = FontNodesPerBlock;
  return true;
}

}  // namespace

int CALLBACK EnumFontProc(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD, LPARAM) {
  if (Fonts.FreeNodes == 0 && !TakeNewBlock()) return 0;
  FontListNode* node = Fonts.NextFree++;
  --Fonts.FreeNodes;
  std::memcpy(node->Face, font->lfFaceName, sizeof node->Face);
  node->Face[LF_FACESIZE - 1] = 0;
  node->CharSet = metrics->tmCharSet;
  if (Fonts.Last)
    Fonts.Last->Next = node;
  else
    Fonts.First = node;
  Fonts.Last = node;
  return 1;
}

const FontListNode* FirstFontNode() { return Fonts.First; }

const FontListNode* FindFontNode(const WCHAR* face) {
  for (const FontListNode* node = Fonts.First; node; node = node->Next)
    if (wcscmp(node->Face, face) == 0) return node;
  return nullptr;
}

void ForgetFontNodes() { std::memset(&Fonts, 0, sizeof Fonts); }

void FreeFontNodes() {
  FontListNode* block = Fonts.First;
  while (block) {
    // The block's own nodes come first in the list; the next mark starts the next block.
    FontListNode* next = block->Next;
    while (next && !next->BlockStart) next = next->Next;
    free(block);
    block = next;
  }
  ForgetFontNodes();
}
