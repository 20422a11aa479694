// The frame's pixels as an XImage: in shared memory where the server offers
// MIT-SHM and can attach it (not across a network), else a plain image.
#pragma once
#include "x11/HackFire.h"

// Makes HackFire.image at HackFire.place's size.
void CreateFireImage();
void DestroyFireImage();

// Fills HackFire.image from the surface rows first..height-1 and sends what
// shows them: at their own size when centred, stretched the image rows
// sampling them (row y shows grid row y * height / image height).
void PresentFireImage(int32_t first);
