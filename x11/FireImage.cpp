#include "x11/FireImage.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

#include "fire/FireColors.h"

namespace {

bool attachFailed;

int NoteAttachFailure(Display*, XErrorEvent*)
{
    attachFailed = true;
    return 0;
}

// The server attaches the segment or, on a remote display, answers with an
// error, which a temporary handler catches instead of ending the program.
XImage* CreateSharedImage(XShmSegmentInfo& shm, int32_t width, int32_t height)
{
    const HackFireRecord& hack = HackFire;
    if (!XShmQueryExtension(hack.display)) return nullptr;
    XImage* image =
        XShmCreateImage(hack.display, hack.visual, static_cast<unsigned>(hack.depth), ZPixmap,
                        nullptr, &shm, static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!image) return nullptr;
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height);
    shm.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    shm.shmaddr = shm.shmid < 0 ? nullptr : static_cast<char*>(shmat(shm.shmid, nullptr, 0));
    if (shm.shmaddr == reinterpret_cast<char*>(-1)) shm.shmaddr = nullptr;
    bool attached = false;
    if (shm.shmaddr) {
        shm.readOnly = False;
        XSync(hack.display, False);
        attachFailed = false;
        XErrorHandler previous = XSetErrorHandler(NoteAttachFailure);
        attached = XShmAttach(hack.display, &shm) && (XSync(hack.display, False), !attachFailed);
        XSetErrorHandler(previous);
    }
    // Marked for removal now: it goes when both sides have let go of it.
    if (shm.shmid >= 0) shmctl(shm.shmid, IPC_RMID, nullptr);
    if (!attached) {
        if (shm.shmaddr) shmdt(shm.shmaddr);
        XDestroyImage(image);
        return nullptr;
    }
    image->data = shm.shmaddr;
    return image;
}

XImage* CreatePlainImage(int32_t width, int32_t height)
{
    const HackFireRecord& hack = HackFire;
    XImage* image =
        XCreateImage(hack.display, hack.visual, static_cast<unsigned>(hack.depth), ZPixmap, 0,
                     nullptr, static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!image) return nullptr;
    image->data = static_cast<char*>(
        std::malloc(static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height)));
    if (!image->data) {
        XDestroyImage(image);
        return nullptr;
    }
    return image;
}

bool HostIsLsbFirst()
{
    const uint16_t one = 1;
    uint8_t first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

// Image row y from surface row row: column x from row[x], or stretched from
// row[columnOf[x]].
void FillImageRow(XImage* image, int32_t y, const uint8_t* row, const int32_t* columnOf)
{
    const unsigned long* pixelOf = HackFire.pixelOf;
    const int32_t width = image->width;
    const bool lsbFirst = image->byte_order == LSBFirst;
    if (image->bits_per_pixel == 32 && lsbFirst == HostIsLsbFirst()) {
        auto* out = reinterpret_cast<uint32_t*>(image->data +
                                                static_cast<size_t>(y) * image->bytes_per_line);
        if (columnOf) {
            for (int32_t x = 0; x < width; ++x)
                out[x] = static_cast<uint32_t>(pixelOf[row[columnOf[x]]]);
        } else {
            for (int32_t x = 0; x < width; ++x) out[x] = static_cast<uint32_t>(pixelOf[row[x]]);
        }
    } else {
        for (int32_t x = 0; x < width; ++x)
            XPutPixel(image, x, y, pixelOf[row[columnOf ? columnOf[x] : x]]);
    }
}

}  // namespace

void CreateFireImage(HackPicture& picture, const Fire& fire)
{
    picture = HackPicture();
    const int32_t width = fire.place.width, height = fire.place.height;
    const int32_t gridWidth = fire.field.width;
    if (width <= 0 || height <= 0 || gridWidth <= 0 || fire.field.height <= 0 || !fire.surface)
        return;
    picture.image = CreateSharedImage(picture.shm, width, height);
    picture.shared = picture.image != nullptr;
    if (!picture.image) picture.image = CreatePlainImage(width, height);
    if (!picture.image || fire.settings.scaling == 0) return;
    // Stretched: frame pixel (x, y) shows cell (x * W / width, y * H / height),
    // rounded down, as a nearest-neighbour stretch samples.
    picture.columnOf =
        static_cast<int32_t*>(std::malloc(sizeof(int32_t) * static_cast<size_t>(width)));
    for (int32_t x = 0; picture.columnOf && x < width; ++x)
        picture.columnOf[x] = static_cast<int32_t>(static_cast<int64_t>(x) * gridWidth / width);
}

void DestroyFireImage(HackPicture& picture)
{
    if (picture.image) {
        if (picture.shared) {
            XShmDetach(HackFire.display, &picture.shm);
            XSync(HackFire.display, False);
            shmdt(picture.shm.shmaddr);
            picture.image->data = nullptr;  // not XDestroyImage's to free
        }
        XDestroyImage(picture.image);
    }
    std::free(picture.columnOf);
    picture = HackPicture();
}

void PresentFireImage(HackPicture& picture, const Fire& fire, int32_t first)
{
    const HackFireRecord& hack = HackFire;
    XImage* image = picture.image;
    if (!image) return;
    const int32_t gridHeight = fire.field.height;
    const int32_t stride = SurfaceStride(fire.field.width);
    if (first < 0) first = 0;
    if (first >= gridHeight) return;  // nothing changed
    if (fire.settings.scaling != 0) {
        // Each image row shows one grid row, so the rows from the first that
        // shows a changed one are exactly the change.
        if (!picture.columnOf) return;
        const int64_t height = image->height;
        first = static_cast<int32_t>((first * height + gridHeight - 1) / gridHeight);
        for (int32_t y = first; y < image->height; ++y)
            FillImageRow(image, y,
                         fire.surface + static_cast<int64_t>(y) * gridHeight / height * stride,
                         picture.columnOf);
    } else {
        for (int32_t y = first; y < gridHeight; ++y)
            FillImageRow(image, y, fire.surface + static_cast<int64_t>(y) * stride, nullptr);
    }
    const unsigned rows = static_cast<unsigned>(image->height - first);
    const FramePlacement& place = fire.place;
    if (picture.shared) {
        XShmPutImage(hack.display, hack.window, hack.gc, image, 0, first, place.x, place.y + first,
                     static_cast<unsigned>(image->width), rows, False);
    } else {
        XPutImage(hack.display, hack.window, hack.gc, image, 0, first, place.x, place.y + first,
                  static_cast<unsigned>(image->width), rows);
    }
}
