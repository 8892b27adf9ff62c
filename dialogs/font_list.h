// The installed font families as the Choose Font dialog lists them: one node per
// family with its face name and character set, in the order the enumeration reports
// them, allocated in zero-filled blocks of 25.
#pragma once

#include "platform.h"

struct FontListNode {
  WCHAR Face[LF_FACESIZE];  // zero-terminated
  BYTE CharSet;             // as the enumeration reports it (177: Hebrew)
  BYTE BlockStart;          // 1 on the first node of a block: the block is freed through it
  FontListNode* Next;
};

constexpr int FontNodesPerBlock = 25;

// The enumeration's callback: appends a node for the family; 0 (stop) when no block of
// nodes could be had, so the list keeps the families gathered so far.
int CALLBACK EnumFontProc(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD fontType,
                          LPARAM param);
// The first node of the list, or null when it is empty.
const FontListNode* FirstFontNode();
// The first node whose face name is exactly `face`, or null.
const FontListNode* FindFontNode(const WCHAR* face);
// Forgets the list without freeing it (the state before the first enumeration).
void ForgetFontNodes();
// Frees every block of the list once, through its first node, and forgets the list.
void FreeFontNodes();
