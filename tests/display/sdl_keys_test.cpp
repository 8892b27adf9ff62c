#include <SDL.h>
#include <gtest/gtest.h>

#include "display/sdl.h"

namespace {

TEST(SdlKeys, BecomeTheVirtualKeysTheProgramKnows) {
  struct Case {
    SDL_Keycode sdl;
    uint32_t vk;
  };
  const Case cases[] = {
      {SDLK_LEFT, 0x25},     {SDLK_UP, 0x26},       {SDLK_RIGHT, 0x27},    {SDLK_DOWN, 0x28},
      {SDLK_PAGEUP, 0x21},   {SDLK_PAGEDOWN, 0x22}, {SDLK_HOME, 0x24},     {SDLK_END, 0x23},
      {SDLK_RETURN, 0x0D},   {SDLK_KP_ENTER, 0x0D}, {SDLK_ESCAPE, 0x1B},   {SDLK_TAB, 0x09},
      {SDLK_BACKSPACE, 0x08}, {SDLK_DELETE, 0x2E},  {SDLK_INSERT, 0x2D},   {SDLK_SPACE, 0x20},
      {SDLK_F1, 0x70},       {SDLK_F3, 0x72},       {SDLK_F12, 0x7B},      {SDLK_a, 'A'},
      {SDLK_q, 'Q'},         {SDLK_z, 'Z'},         {SDLK_0, '0'},         {SDLK_9, '9'},
      {SDLK_LCTRL, 0x11},    {SDLK_RCTRL, 0x11},    {SDLK_LSHIFT, 0x10},   {SDLK_RALT, 0x12},
  };
  for (const auto& c : cases)
    EXPECT_EQ(display::VirtualKeyForSdlKey(c.sdl), c.vk) << SDL_GetKeyName(c.sdl);
}

TEST(SdlKeys, KeysWithoutAVirtualKeyArePassedOverAsKeys) {
  // Their characters still arrive as text.
  for (SDL_Keycode key : {SDLK_MINUS, SDLK_ASTERISK, SDLK_F13, SDLK_CAPSLOCK, SDLK_UNKNOWN})
    EXPECT_EQ(display::VirtualKeyForSdlKey(key), 0u) << key;
}

}  // namespace
