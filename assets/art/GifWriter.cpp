// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifWriter.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace GifWriter {
namespace {

constexpr int TransparentIndex = 0;

bool opaque(std::uint32_t argb)
{
    return (argb >> 24) >= 128;
}

bool fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

struct GifCloser
{
    void operator()(GifFileType* gif) const
    {
        int code = 0;
        EGifCloseFile(gif, &code);
    }
};

} // namespace

bool write(const std::string& path, int width, int height, const std::vector<Frame>& frames,
           std::string* error)
{
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF)
        return fail(error, "picture size out of range");
    if (frames.empty())
        return fail(error, "no frames");
    const auto pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);

    // One global palette for all frames; index 0 stays reserved for "transparent".
    std::map<std::uint32_t, int> indexOf;
    for (const Frame& frame : frames) {
        if (frame.argb.size() != pixelCount)
            return fail(error, "frame size does not match the picture size");
        for (std::uint32_t px : frame.argb) {
            if (!opaque(px))
                continue;
            const std::uint32_t rgb = px & 0xFFFFFFu;
            if (indexOf.count(rgb))
                continue;
            if (indexOf.size() >= 255)
                return fail(error, "more than 255 opaque colours");
            indexOf.emplace(rgb, static_cast<int>(indexOf.size()) + 1);
        }
    }
    const int colourCount = static_cast<int>(indexOf.size()) + 1;
    const int mapSize = 1 << std::max(1, GifBitSize(colourCount));
    std::vector<GifColorType> colours(static_cast<std::size_t>(mapSize), GifColorType{0, 0, 0});
    for (const auto& [rgb, index] : indexOf)
        colours[static_cast<std::size_t>(index)] =
            GifColorType{static_cast<GifByteType>(rgb >> 16), static_cast<GifByteType>(rgb >> 8),
                         static_cast<GifByteType>(rgb)};

    int code = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpenFileName(path.c_str(), false, &code));
    if (!gif)
        return fail(error, std::string("cannot open for writing: ") + GifErrorString(code));
    EGifSetGifVersion(gif.get(), true);

    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(
        GifMakeMapObject(mapSize, colours.data()), GifFreeMapObject);
    if (!map)
        return fail(error, "out of memory");
    if (EGifPutScreenDesc(gif.get(), width, height, map->BitsPerPixel, TransparentIndex,
                          map.get()) == GIF_ERROR)
        return fail(error, GifErrorString(gif->Error));

    if (frames.size() > 1) {
        static const GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A',
                                               'P', 'E', '2', '.', '0'};
        static const GifByteType loopForever[] = {1, 0, 0};
        if (EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
            EGifPutExtensionBlock(gif.get(), sizeof netscape, netscape) == GIF_ERROR ||
            EGifPutExtensionBlock(gif.get(), sizeof loopForever, loopForever) == GIF_ERROR ||
            EGifPutExtensionTrailer(gif.get()) == GIF_ERROR)
            return fail(error, GifErrorString(gif->Error));
    }

    std::vector<GifPixelType> row(static_cast<std::size_t>(width));
    for (const Frame& frame : frames) {
        GraphicsControlBlock gcb{};
        // Restoring the background before each frame keeps transparent pixels of one frame
        // from showing the previous one through them.
        gcb.DisposalMode = DISPOSE_BACKGROUND;
        gcb.UserInputFlag = false;
        gcb.DelayTime = std::clamp((frame.delayMs + 5) / 10, 0, 0xFFFF);
        gcb.TransparentColor = TransparentIndex;
        GifByteType gcbBytes[4];
        const std::size_t gcbLength = EGifGCBToExtension(&gcb, gcbBytes);
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(gcbLength),
                             gcbBytes) == GIF_ERROR)
            return fail(error, GifErrorString(gif->Error));
        if (EGifPutImageDesc(gif.get(), 0, 0, width, height, false, nullptr) == GIF_ERROR)
            return fail(error, GifErrorString(gif->Error));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t px = frame.argb[static_cast<std::size_t>(y) * width + x];
                row[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(
                    opaque(px) ? indexOf.at(px & 0xFFFFFFu) : TransparentIndex);
            }
            if (EGifPutLine(gif.get(), row.data(), width) == GIF_ERROR)
                return fail(error, GifErrorString(gif->Error));
        }
    }

    GifFileType* raw = gif.release();
    if (EGifCloseFile(raw, &code) == GIF_ERROR)
        return fail(error, std::string("cannot finish the file: ") + GifErrorString(code));
    return true;
}

} // namespace GifWriter
