#pragma once

#include <QSize>

#include <optional>
#include <span>

// Where each picture's source lives and how it is finished after rendering.

enum class ArtFinish {
    kOpaque,        // drawn over a solid colour of its own; no transparency left
    kTransparent,   // keeps its alpha channel (icons)
    kKeyedCorners,  // outside of the shape filled with the key colour (knob thumb)
};

struct ArtEntry {
    int resourceId;
    QSize logicalSize;
    const char* sourcePath;  // Qt resource path of the SVG
    ArtFinish finish;
};

std::span<const ArtEntry> ArtCatalog();
std::optional<ArtEntry> FindArt(int resourceId);

// Colour that the knob thumb's surroundings are filled with; the knob makes it transparent.
inline constexpr unsigned kThumbKeyColour = 0xFF00FFu;
