// Running the outside tools of the peer tests and reading the pictures they make.
#pragma once

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct ToolResult {
    int status = -1;
    std::string output;  // stdout and stderr
};

inline ToolResult RunTool(const std::string& command) {
    ToolResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer;
    size_t read;
    while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.output.append(buffer.data(), read);
    }
    result.status = pclose(pipe);
    return result;
}

inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A grey picture, as a binary PGM file holds it.
struct Grey {
    int width = 0;
    int height = 0;
    std::string pixels;
    int At(int column, int row) const {
        return static_cast<unsigned char>(pixels[static_cast<size_t>(row * width + column)]);
    }
    // The darkest pixel around (column, row), so a thin line need not be hit exactly.
    int DarkestNear(int column, int row) const {
        int darkest = 255;
        for (int r = row - 2; r <= row + 2; ++r) {
            for (int c = column - 2; c <= column + 2; ++c) {
                if (r >= 0 && r < height && c >= 0 && c < width)
                    darkest = std::min(darkest, At(c, r));
            }
        }
        return darkest;
    }
    int DarkCount(int left, int top, int right, int bottom) const {
        int count = 0;
        for (int r = top; r < bottom; ++r) {
            for (int c = left; c < right; ++c) {
                if (At(c, r) < 100) ++count;
            }
        }
        return count;
    }
    // Where the dark pixels are on average, as fractions of the width and height.
    bool DarkCentroid(double& x, double& y, int threshold = 128) const {
        double sumX = 0, sumY = 0, count = 0;
        for (int r = 0; r < height; ++r) {
            for (int c = 0; c < width; ++c) {
                if (At(c, r) < threshold) {
                    sumX += c;
                    sumY += r;
                    ++count;
                }
            }
        }
        if (count == 0) return false;
        x = sumX / count / width;
        y = sumY / count / height;
        return true;
    }
};

inline Grey ReadPgm(const std::filesystem::path& path) {
    const std::string bytes = ReadWholeFile(path);
    std::istringstream in(bytes);
    std::string magic;
    int maxValue = 0;
    Grey grey;
    in >> magic >> grey.width >> grey.height >> maxValue;
    in.get();  // the one whitespace byte before the pixels
    if (magic != "P5" || maxValue != 255) return {};
    grey.pixels = bytes.substr(static_cast<size_t>(in.tellg()));
    if (grey.pixels.size() != static_cast<size_t>(grey.width * grey.height)) return {};
    return grey;
}
