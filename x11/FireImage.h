// A fire's picture as an XImage: in shared memory where the server offers
// MIT-SHM and can attach it (not across a network), else a plain image.
#pragma once
#include "x11/HackFire.h"

// picture for fire, at its placed size.
void CreateFireImage(HackPicture& picture, const Fire& fire);
void DestroyFireImage(HackPicture& picture);

// Fills picture from fire's rows first..height-1 and sends what shows them,
// unflushed: at their own size when centred, stretched the image rows
// sampling them (row y shows grid row y * height / image height).
void PresentFireImage(HackPicture& picture, const Fire& fire, int32_t first);
