// SPDX-License-Identifier: GPL-3.0-or-later
// The art compiler: turns TockWork's pixel maps (*.art, plain text) into the GIF and PNG files
// the application loads. Run at build time; see README.md in this folder for the format.
//
//   tockwork-artc <input.art> <output.gif|output.png>

#include "GifWriter.h"

#include <QImage>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct PixelMap
{
    int width = 0;
    int height = 0;
    int scale = 1;
    std::map<char, std::uint32_t> palette;
    std::vector<GifWriter::Frame> frames;
};

struct ParseError
{
    int line;
    std::string what;
};

std::uint32_t parseColour(const std::string& text, int line)
{
    if (text == "none")
        return 0;
    if (text.size() != 6 && text.size() != 8)
        throw ParseError{line, "colour must be RRGGBB, RRGGBBAA or none: " + text};
    std::uint32_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            throw ParseError{line, "not a hex colour: " + text};
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return text.size() == 6 ? (0xFF000000u | value) : (value << 24 | value >> 8);
}

PixelMap parse(std::istream& in)
{
    PixelMap map;
    enum class Section
    {
        header,
        palette,
        frame
    } section = Section::header;
    std::string line;
    int lineNo = 0;
    int rowsLeft = 0;
    int delayMs = 0;
    std::vector<std::uint32_t> pixels;

    auto finishFrame = [&] {
        if (section == Section::frame && rowsLeft != 0)
            throw ParseError{lineNo, "frame has too few rows"};
    };

    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (section == Section::frame && rowsLeft > 0) {
            if (static_cast<int>(line.size()) != map.width)
                throw ParseError{lineNo, "row must have exactly " + std::to_string(map.width) +
                                             " pixels, has " + std::to_string(line.size())};
            for (char c : line) {
                auto it = map.palette.find(c);
                if (it == map.palette.end())
                    throw ParseError{lineNo, std::string("colour not in the palette: ") + c};
                pixels.push_back(it->second);
            }
            if (--rowsLeft == 0)
                map.frames.push_back({delayMs, pixels});
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "size") {
            if (!(words >> map.width >> map.height) || map.width < 1 || map.height < 1 ||
                map.width > 1024 || map.height > 1024)
                throw ParseError{lineNo, "size needs a width and a height of 1...1024"};
        } else if (keyword == "scale") {
            if (!(words >> map.scale) || map.scale < 1 || map.scale > 16)
                throw ParseError{lineNo, "scale must be 1...16"};
        } else if (keyword == "palette") {
            section = Section::palette;
        } else if (keyword == "frame") {
            finishFrame();
            if (map.width == 0)
                throw ParseError{lineNo, "size must come before the first frame"};
            if (!(words >> delayMs) || delayMs < 0)
                throw ParseError{lineNo, "frame needs its delay in milliseconds"};
            section = Section::frame;
            rowsLeft = map.height;
            pixels.clear();
        } else if (section == Section::palette && keyword.size() == 1) {
            std::string colour;
            if (!(words >> colour))
                throw ParseError{lineNo, "palette entry needs a colour"};
            if (!map.palette.emplace(keyword[0], parseColour(colour, lineNo)).second)
                throw ParseError{lineNo, "palette character used twice: " + keyword};
        } else {
            throw ParseError{lineNo, "unexpected line: " + line};
        }
    }
    finishFrame();
    if (map.frames.empty())
        throw ParseError{lineNo, "no frames"};
    return map;
}

std::vector<std::uint32_t> scaled(const std::vector<std::uint32_t>& pixels, int width, int height,
                                  int scale)
{
    if (scale == 1)
        return pixels;
    std::vector<std::uint32_t> out;
    out.reserve(pixels.size() * static_cast<std::size_t>(scale * scale));
    for (int y = 0; y < height * scale; ++y)
        for (int x = 0; x < width * scale; ++x)
            out.push_back(pixels[static_cast<std::size_t>(y / scale) * width + x / scale]);
    return out;
}

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The art is read by whoever starts the program, not only by whoever built it: giflib creates its
// files 0600, and a builder's umask may be as strict.
bool readableByAll(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code failed;
    fs::permissions(path,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::others_read,
                    fs::perm_options::replace, failed);
    if (failed)
        std::fprintf(stderr, "%s: cannot make readable: %s\n", path.c_str(),
                     failed.message().c_str());
    return !failed;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <input.art> <output.gif|output.png>\n", argv[0]);
        return 2;
    }
    const std::string input = argv[1];
    const std::string output = argv[2];
    std::ifstream in(input);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read\n", input.c_str());
        return 1;
    }
    PixelMap map;
    try {
        map = parse(in);
    } catch (const ParseError& e) {
        std::fprintf(stderr, "%s:%d: %s\n", input.c_str(), e.line, e.what.c_str());
        return 1;
    }
    const int width = map.width * map.scale;
    const int height = map.height * map.scale;
    for (auto& frame : map.frames)
        frame.argb = scaled(frame.argb, map.width, map.height, map.scale);

    if (endsWith(output, ".gif")) {
        std::string error;
        if (!GifWriter::write(output, width, height, map.frames, &error)) {
            std::fprintf(stderr, "%s: %s\n", output.c_str(), error.c_str());
            return 1;
        }
        return readableByAll(output) ? 0 : 1;
    }
    if (endsWith(output, ".png")) {
        if (map.frames.size() != 1) {
            std::fprintf(stderr, "%s: a PNG holds one frame, the map has %zu\n", input.c_str(),
                         map.frames.size());
            return 1;
        }
        QImage image(width, height, QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, map.frames[0].argb[static_cast<std::size_t>(y) * width + x]);
        if (!image.save(QString::fromStdString(output), "PNG")) {
            std::fprintf(stderr, "%s: cannot write\n", output.c_str());
            return 1;
        }
        return readableByAll(output) ? 0 : 1;
    }
    std::fprintf(stderr, "%s: output must end in .gif or .png\n", output.c_str());
    return 2;
}
