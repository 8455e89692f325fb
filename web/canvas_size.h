// The canvas's drawing buffer at the device's own pixels: the canvas's CSS
// size (the page lays it out over the whole window) times the device pixel
// ratio, kept in step as either changes.
#pragma once

// Sizes the buffer now and follows the page from then on. The game sees the
// buffer's size as its window's, so the art level follows the device.
void FollowCanvasSize();
