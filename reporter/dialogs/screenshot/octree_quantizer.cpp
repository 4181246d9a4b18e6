#include "reporter/dialogs/screenshot/octree_quantizer.h"
#include <array>

namespace {

constexpr int kDepth = 8;
constexpr size_t kMaxColours = 256;

struct TNode {
    uint64_t Red = 0, Green = 0, Blue = 0;
    uint32_t Count = 0;
    bool Leaf = false;
    uint8_t PaletteIndex = 0;
    std::array<int32_t, 8> Children{-1, -1, -1, -1, -1, -1, -1, -1};
};

// Bit (7 - level) of red, green and blue, as 4, 2 and 1.
int ChildIndex(uint8_t red, uint8_t green, uint8_t blue, int level) {
    const int shift = 7 - level;
    return (red >> shift & 1) << 2 | (green >> shift & 1) << 1 | (blue >> shift & 1);
}

class TOctree {
  public:
    TOctree() { NewNode(0); }

    void Add(uint8_t red, uint8_t green, uint8_t blue) {
        int32_t node = 0;
        for (int level = 0; !nodes_[size_t(node)].Leaf; ++level) {
            const int child = ChildIndex(red, green, blue, level);
            if (nodes_[size_t(node)].Children[size_t(child)] < 0) {
                const int32_t created = NewNode(level + 1);
                nodes_[size_t(node)].Children[size_t(child)] = created;
            }
            node = nodes_[size_t(node)].Children[size_t(child)];
        }
        TNode& leaf = nodes_[size_t(node)];
        leaf.Red += red;
        leaf.Green += green;
        leaf.Blue += blue;
        ++leaf.Count;
        while (leaves_ > kMaxColours)
            ReduceDeepest();
    }

    // The leaves in tree order, each the mean of its pixels; numbers the leaves.
    std::vector<TPaletteColour> Palette() {
        std::vector<TPaletteColour> palette;
        Collect(0, palette);
        return palette;
    }

    uint8_t IndexOf(uint8_t red, uint8_t green, uint8_t blue) const {
        int32_t node = 0;
        for (int level = 0; !nodes_[size_t(node)].Leaf; ++level)
            node = nodes_[size_t(node)].Children[size_t(ChildIndex(red, green, blue, level))];
        return nodes_[size_t(node)].PaletteIndex;
    }

  private:
    int32_t NewNode(int level) {
        const int32_t index = int32_t(nodes_.size());
        nodes_.emplace_back();
        if (level == kDepth) {
            nodes_.back().Leaf = true;
            ++leaves_;
        } else {
            reducible_[size_t(level)].push_back(index);
        }
        return index;
    }

    // The deepest level's newest inner node takes its children's pixels and becomes a leaf;
    // being the deepest, its children are all leaves.
    void ReduceDeepest() {
        int level = kDepth - 1;
        while (level > 0 && reducible_[size_t(level)].empty()) // the root is always there
            --level;
        const int32_t index = reducible_[size_t(level)].back();
        reducible_[size_t(level)].pop_back();
        TNode& node = nodes_[size_t(index)];
        size_t children = 0;
        for (int32_t& child : node.Children) {
            if (child < 0)
                continue;
            const TNode& leaf = nodes_[size_t(child)];
            node.Red += leaf.Red;
            node.Green += leaf.Green;
            node.Blue += leaf.Blue;
            node.Count += leaf.Count;
            child = -1;
            ++children;
        }
        node.Leaf = true;
        leaves_ -= children - 1;
    }

    void Collect(int32_t index, std::vector<TPaletteColour>& palette) {
        TNode& node = nodes_[size_t(index)];
        if (node.Leaf) {
            node.PaletteIndex = uint8_t(palette.size());
            const uint64_t count = node.Count ? node.Count : 1;
            palette.push_back({uint8_t(node.Red / count), uint8_t(node.Green / count),
                               uint8_t(node.Blue / count)});
            return;
        }
        for (int32_t child : node.Children)
            if (child >= 0)
                Collect(child, palette);
    }

    // Freed children stay in the pool unused: a picture's tree is built once and dropped whole.
    std::vector<TNode> nodes_;
    std::array<std::vector<int32_t>, kDepth> reducible_; // inner nodes by level, newest last
    size_t leaves_ = 0;
};

} // namespace

TPalettedPicture QuantizeOctree(const uint8_t* rows, int width, int height, int stride) {
    TOctree tree;
    for (int y = 0; y < height; ++y) {
        const uint8_t* pixel = rows + size_t(y) * size_t(stride);
        for (int x = 0; x < width; ++x, pixel += 3)
            tree.Add(pixel[2], pixel[1], pixel[0]);
    }
    TPalettedPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Palette = tree.Palette();
    picture.Indices.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const uint8_t* pixel = rows + size_t(height - 1 - y) * size_t(stride);
        uint8_t* index = picture.Indices.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x, pixel += 3)
            index[x] = tree.IndexOf(pixel[2], pixel[1], pixel[0]);
    }
    return picture;
}
