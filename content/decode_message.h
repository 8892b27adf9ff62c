// The one message of the decoder.
#pragma once

// Tells the reader that a lesson record did not decode: "UnCompress() buffer error!",
// with no owner window, no caption and an OK button.
void ShowDecodeError();
