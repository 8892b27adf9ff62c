#include "content/decode_message.h"

#include "platform.h"

void ShowDecodeError() { MessageBoxW(nullptr, u"UnCompress() buffer error!", nullptr, MB_OK); }
