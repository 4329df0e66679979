// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A small animated-GIF encoder on top of giflib, shared by the art compiler and the tests that
// need real GIF files. Pixels are 0xAARRGGBB; alpha below 128 becomes the transparent index, so
// pictures keep a see-through background on any panel.
namespace GifWriter {

struct Frame
{
    int delayMs = 0; // stored in hundredths of a second, the resolution GIF has
    std::vector<std::uint32_t> argb;
};

// Writes all frames (each width x height, full size) to `path`. Several frames loop forever; each
// frame replaces the previous one completely. False with a reason in `error` when the picture has
// more than 255 opaque colours, the sizes do not match or the file cannot be written.
bool write(const std::string& path, int width, int height, const std::vector<Frame>& frames,
           std::string* error = nullptr);

} // namespace GifWriter
