#include "x11/FireImage.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

#include "fire/FireSettings.h"

namespace {

bool attachFailed;

int NoteAttachFailure(Display*, XErrorEvent*)
{
    attachFailed = true;
    return 0;
}

// The server attaches the segment or, on a remote display, answers with an
// error, which a temporary handler catches instead of ending the program.
XImage* CreateSharedImage(int32_t width, int32_t height)
{
    HackFireRecord& fire = HackFire;
    if (!XShmQueryExtension(fire.display)) return nullptr;
    XImage* image = XShmCreateImage(fire.display, fire.visual, static_cast<unsigned>(fire.depth),
                                    ZPixmap, nullptr, &fire.shm, static_cast<unsigned>(width),
                                    static_cast<unsigned>(height));
    if (!image) return nullptr;
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(height);
    fire.shm.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    fire.shm.shmaddr =
        fire.shm.shmid < 0 ? nullptr : static_cast<char*>(shmat(fire.shm.shmid, nullptr, 0));
    if (fire.shm.shmaddr == reinterpret_cast<char*>(-1)) fire.shm.shmaddr = nullptr;
    bool attached = false;
    if (fire.shm.shmaddr) {
        fire.shm.readOnly = False;
        XSync(fire.display, False);
        attachFailed = false;
        XErrorHandler previous = XSetErrorHandler(NoteAttachFailure);
        attached =
            XShmAttach(fire.display, &fire.shm) && (XSync(fire.display, False), !attachFailed);
        XSetErrorHandler(previous);
    }
    // Marked for removal now: it goes when both sides have let go of it.
    if (fire.shm.shmid >= 0) shmctl(fire.shm.shmid, IPC_RMID, nullptr);
    if (!attached) {
        if (fire.shm.shmaddr) shmdt(fire.shm.shmaddr);
        XDestroyImage(image);
        return nullptr;
    }
    image->data = fire.shm.shmaddr;
    return image;
}

XImage* CreatePlainImage(int32_t width, int32_t height)
{
    HackFireRecord& fire = HackFire;
    XImage* image =
        XCreateImage(fire.display, fire.visual, static_cast<unsigned>(fire.depth), ZPixmap, 0,
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

void CreateFireImage()
{
    HackFireRecord& fire = HackFire;
    fire.image = nullptr;
    fire.shared = false;
    const int32_t width = fire.place.width, height = fire.place.height;
    if (width <= 0 || height <= 0 || fire.field.width <= 0 || fire.field.height <= 0) return;
    fire.image = CreateSharedImage(width, height);
    fire.shared = fire.image != nullptr;
    if (!fire.image) fire.image = CreatePlainImage(width, height);
    if (!fire.image || FireSettings.scaling == 0) return;
    // Stretched: frame pixel (x, y) shows cell (x * W / width, y * H / height),
    // rounded down, as a nearest-neighbour stretch samples.
    fire.columnOf =
        static_cast<int32_t*>(std::malloc(sizeof(int32_t) * static_cast<size_t>(width)));
    for (int32_t x = 0; fire.columnOf && x < width; ++x)
        fire.columnOf[x] = static_cast<int32_t>(static_cast<int64_t>(x) * fire.field.width / width);
}

void DestroyFireImage()
{
    HackFireRecord& fire = HackFire;
    if (!fire.image) return;
    if (fire.shared) {
        XShmDetach(fire.display, &fire.shm);
        XSync(fire.display, False);
        shmdt(fire.shm.shmaddr);
        fire.image->data = nullptr;  // not XDestroyImage's to free
    }
    XDestroyImage(fire.image);
    fire.image = nullptr;
    std::free(fire.columnOf);
    fire.columnOf = nullptr;
    fire.shared = false;
}

void PresentFireImage(int32_t first)
{
    HackFireRecord& fire = HackFire;
    XImage* image = fire.image;
    if (!image) return;
    const int32_t gridWidth = fire.field.width, gridHeight = fire.field.height;
    const int32_t stride = SurfaceStride(gridWidth);
    if (first < 0) first = 0;
    if (first >= gridHeight) return;  // nothing changed
    if (FireSettings.scaling != 0) {
        // Each image row shows one grid row, so the rows from the first that
        // shows a changed one are exactly the change.
        if (!fire.columnOf) return;
        const int64_t height = image->height;
        first = static_cast<int32_t>((first * height + gridHeight - 1) / gridHeight);
        for (int32_t y = first; y < image->height; ++y)
            FillImageRow(image, y,
                         fire.surface + static_cast<int64_t>(y) * gridHeight / height * stride,
                         fire.columnOf);
    } else {
        for (int32_t y = first; y < gridHeight; ++y)
            FillImageRow(image, y, fire.surface + static_cast<int64_t>(y) * stride, nullptr);
    }
    const unsigned rows = static_cast<unsigned>(image->height - first);
    if (fire.shared) {
        XShmPutImage(fire.display, fire.window, fire.gc, image, 0, first, fire.place.x,
                     fire.place.y + first, static_cast<unsigned>(image->width), rows, False);
        // The next frame writes the same memory: the server must have read it.
        XSync(fire.display, False);
    } else {
        XPutImage(fire.display, fire.window, fire.gc, image, 0, first, fire.place.x,
                  fire.place.y + first, static_cast<unsigned>(image->width), rows);
        XFlush(fire.display);
    }
}
