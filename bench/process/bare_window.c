/* The floor of a window: SDL opens a 480x640 window (the reader's 240x320 at zoom 2),
   fills its surface once and waits for the close button, doing nothing else, and ends. */
#include <SDL.h>

int main(void) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("bare window", SDL_WINDOWPOS_UNDEFINED,
                                        SDL_WINDOWPOS_UNDEFINED, 480, 640, 0);
  SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : NULL;
  if (!surface) return 1;
  SDL_FillRect(surface, NULL, SDL_MapRGB(surface->format, 255, 255, 255));
  SDL_UpdateWindowSurface(window);
  SDL_Event event;
  while (SDL_WaitEvent(&event)) {
    if (event.type == SDL_QUIT) break;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED)
      SDL_UpdateWindowSurface(window);
  }
  /* The end of the process takes the window along. SDL_Quit would destroy it first,
     while a message SDL sent itself to wake its wait may still be on its way to the
     window, which the X server would answer with an error that ends the process. */
  return 0;
}
