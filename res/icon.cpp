// Icon 128, the program icon, drawn in code: a router crosspoint matrix on a dark control-room
// blue, with a failed crosspoint (red) being moved to a spare one (green) by an amber arrow.
// The drawing is laid out on a 32 x 32 grid and can be drawn at any size (the desktop's icon theme
// wants several); shapes are sampled 4 x 4 times per pixel so the edges come out smooth.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "res/res_parts.h"
#include "res/resource.h"

namespace tav::resparts {

namespace {

constexpr int kSize = 32;    // the design grid, and the size of icon 128
constexpr int kSamples = 4;  // per axis

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba Hex(std::uint32_t rgb, float alpha = 1.0f) {
    return Rgba{static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
                static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
                static_cast<float>(rgb & 0xFF) / 255.0f, alpha};
}

struct Vec {
    float x = 0, y = 0;
};

float Distance(Vec a, Vec b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

float DistanceToSegment(Vec p, Vec a, Vec b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    return Distance(p, Vec{a.x + t * dx, a.y + t * dy});
}

bool InRoundedRect(Vec p, float left, float top, float right, float bottom, float radius) {
    if (p.x < left || p.x > right || p.y < top || p.y > bottom) {
        return false;
    }
    const float cx = std::clamp(p.x, left + radius, right - radius);
    const float cy = std::clamp(p.y, top + radius, bottom - radius);
    // Away from the corners the point is its own nearest point: no distance to work out.
    return (cx == p.x && cy == p.y) || Distance(p, Vec{cx, cy}) <= radius;
}

bool InTriangle(Vec p, Vec a, Vec b, Vec c) {
    auto side = [](Vec p1, Vec p2, Vec p3) {
        return (p1.x - p3.x) * (p2.y - p3.y) - (p2.x - p3.x) * (p1.y - p3.y);
    };
    const float d1 = side(p, a, b);
    const float d2 = side(p, b, c);
    const float d3 = side(p, c, a);
    const bool hasNeg = d1 < 0 || d2 < 0 || d3 < 0;
    const bool hasPos = d1 > 0 || d2 > 0 || d3 > 0;
    return !(hasNeg && hasPos);
}

// Where a shape can be, in design units: pixels outside it are not sampled. A shape's box must
// hold every point the shape holds; the picture is then the same as with every pixel sampled,
// only drawn without testing the thousands of samples that cannot hit (the program draws its
// icon at every start).
struct Box {
    float left = 0, top = 0, right = kSize, bottom = kSize;
};

Box Around(Vec centre, float radius) {
    return Box{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
}

Box Around(std::initializer_list<Vec> points, float margin) {
    Box box{points.begin()->x, points.begin()->y, points.begin()->x, points.begin()->y};
    for (const Vec p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return Box{box.left - margin, box.top - margin, box.right + margin, box.bottom + margin};
}

// Premultiplied-alpha canvas.
class Canvas {
  public:
    explicit Canvas(int size)
        : m_size(size),
          m_scale(static_cast<float>(kSize) / static_cast<float>(size)),
          m_px(static_cast<std::size_t>(size * size)) {}

    // Paints colour(p) wherever inside(p) holds, weighted by the share of samples inside; inside
    // is false everywhere outside box.
    template <class Inside, class Colour>
    void Fill(Box box, Inside inside, Colour colour) {
        // A pixel more on every side keeps rounding at the box's edge from losing a sample.
        const auto first = [this](float at) {
            return std::clamp(static_cast<int>(std::floor(at / m_scale)) - 1, 0, m_size);
        };
        const auto end = [this](float at) {
            return std::clamp(static_cast<int>(std::floor(at / m_scale)) + 2, 0, m_size);
        };
        for (int y = first(box.top); y < end(box.bottom); ++y) {
            for (int x = first(box.left); x < end(box.right); ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy) {
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const Vec p{
                            (static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSamples) *
                                m_scale,
                            (static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSamples) *
                                m_scale};
                        hits += inside(p) ? 1 : 0;
                    }
                }
                if (hits == 0) {
                    continue;
                }
                const Rgba c = colour(Vec{(static_cast<float>(x) + 0.5f) * m_scale,
                                          (static_cast<float>(y) + 0.5f) * m_scale});
                const float a = c.a * static_cast<float>(hits) / (kSamples * kSamples);
                Rgba& d = m_px[static_cast<std::size_t>(y * m_size + x)];
                d.r = c.r * a + d.r * (1 - a);
                d.g = c.g * a + d.g * (1 - a);
                d.b = c.b * a + d.b * (1 - a);
                d.a = a + d.a * (1 - a);
            }
        }
    }

    template <class Inside>
    void Fill(Box box, Inside inside, Rgba colour) {
        Fill(box, inside, [colour](Vec) { return colour; });
    }

    std::vector<std::uint32_t> ToArgb() const {
        std::vector<std::uint32_t> out;
        out.reserve(m_px.size());
        for (const Rgba& p : m_px) {
            auto channel = [&p](float premultiplied) {
                const float straight = p.a > 0 ? premultiplied / p.a : 0.0f;
                return static_cast<std::uint32_t>(
                    std::lround(std::clamp(straight, 0.0f, 1.0f) * 255.0f));
            };
            const auto alpha =
                static_cast<std::uint32_t>(std::lround(std::clamp(p.a, 0.0f, 1.0f) * 255.0f));
            out.push_back(alpha << 24 | channel(p.r) << 16 | channel(p.g) << 8 | channel(p.b));
        }
        return out;
    }

  private:
    int m_size;
    float m_scale;  // design units per pixel
    std::vector<Rgba> m_px;
};

// Geometry. The matrix has three inputs across and three outputs down; the failed crosspoint sits
// bottom left, the spare top right, and the arrow bows up and over from one to the other.
constexpr std::array<float, 3> kLines{9.0f, 16.0f, 23.0f};
constexpr Vec kFailed{9.0f, 23.0f};
constexpr Vec kSpare{23.0f, 9.0f};
constexpr Vec kArrowFrom{10.6f, 19.4f};
constexpr Vec kArrowBend{10.0f, 10.0f};
constexpr Vec kArrowTo{18.2f, 9.4f};

Vec OnArrow(float t) {
    const float u = 1 - t;
    return Vec{u * u * kArrowFrom.x + 2 * u * t * kArrowBend.x + t * t * kArrowTo.x,
               u * u * kArrowFrom.y + 2 * u * t * kArrowBend.y + t * t * kArrowTo.y};
}

constexpr int kArrowSteps = 24;

// The ends of the kArrowSteps straight pieces the curve is drawn as, worked out once.
const std::array<Vec, kArrowSteps + 1>& ArrowPoints() {
    static const std::array<Vec, kArrowSteps + 1> points = [] {
        std::array<Vec, kArrowSteps + 1> at{};
        for (int i = 0; i <= kArrowSteps; ++i) {
            at[static_cast<std::size_t>(i)] = OnArrow(static_cast<float>(i) / kArrowSteps);
        }
        return at;
    }();
    return points;
}

// Whether p is within width of the arrow's curve: the smallest distance to a piece is within
// width exactly when one of them is. A piece whose box p lies well beyond (more than width and a
// margin for rounding) cannot be, and is not measured.
bool NearArrow(Vec p, float width) {
    constexpr float kMargin = 0.01f;
    const auto& points = ArrowPoints();
    const float reach = width + kMargin;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Vec prev = points[i - 1];
        const Vec next = points[i];
        const bool maybe =
            p.x >= std::min(prev.x, next.x) - reach && p.x <= std::max(prev.x, next.x) + reach &&
            p.y >= std::min(prev.y, next.y) - reach && p.y <= std::max(prev.y, next.y) + reach;
        if (maybe && DistanceToSegment(p, prev, next) <= width) {
            return true;
        }
    }
    return false;
}

// The arrow head at the end of the curve, pointing along its last direction; grow enlarges it
// evenly (for the dark outline).
std::array<Vec, 3> ArrowHead(float grow) {
    const Vec before = OnArrow(0.9f);
    float dx = kArrowTo.x - before.x;
    float dy = kArrowTo.y - before.y;
    const float len = std::hypot(dx, dy);
    dx /= len;
    dy /= len;
    const float reach = 3.0f + grow * 1.6f;
    const float back = 1.6f + grow;
    const float half = 3.0f + grow * 1.3f;
    const Vec tip{kArrowTo.x + dx * reach, kArrowTo.y + dy * reach};
    const Vec base{kArrowTo.x - dx * back, kArrowTo.y - dy * back};
    return {tip, Vec{base.x - dy * half, base.y + dx * half},
            Vec{base.x + dy * half, base.y - dx * half}};
}

std::vector<std::uint32_t> DrawIcon(int size) {
    Canvas c(size);

    // Panel: a rounded square, lighter at the top like a lit rack panel, with a thin rim.
    c.Fill(
        Box{}, [](Vec p) { return InRoundedRect(p, 0.5f, 0.5f, 31.5f, 31.5f, 5.5f); },
        Hex(0x5A7FB5));
    c.Fill(
        Box{}, [](Vec p) { return InRoundedRect(p, 1.5f, 1.5f, 30.5f, 30.5f, 4.5f); },
        [](Vec p) {
            const float t = std::clamp((p.y - 1.5f) / 29.0f, 0.0f, 1.0f);
            const Rgba top = Hex(0x27407A);
            const Rgba bottom = Hex(0x0C1530);
            return Rgba{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t,
                        top.b + (bottom.b - top.b) * t, 1.0f};
        });

    // The matrix: inputs across, outputs down, crosspoints where they meet.
    for (float at : kLines) {
        c.Fill(
            Around({{5.0f, at}, {27.0f, at}}, 0.55f),
            [at](Vec p) {
                return DistanceToSegment(p, {5.0f, at}, {27.0f, at}) <= 0.55f;
            },
            Hex(0x6A8CC0));
        c.Fill(
            Around({{at, 5.0f}, {at, 27.0f}}, 0.55f),
            [at](Vec p) {
                return DistanceToSegment(p, {at, 5.0f}, {at, 27.0f}) <= 0.55f;
            },
            Hex(0x6A8CC0));
    }
    for (float y : kLines) {
        for (float x : kLines) {
            c.Fill(
                Around({x, y}, 1.5f),
                [x, y](Vec p) {
                    return Distance(p, {x, y}) <= 1.5f;
                },
                Hex(0xC2D2EA));
        }
    }

    // The failed crosspoint and the spare it moves to, each with a dark ring to stand out.
    for (Vec at : {kFailed, kSpare}) {
        c.Fill(
            Around(at, 4.0f), [at](Vec p) { return Distance(p, at) <= 4.0f; }, Hex(0x0A1228));
    }
    c.Fill(
        Around(kFailed, 3.1f), [](Vec p) { return Distance(p, kFailed) <= 3.1f; }, Hex(0xF0483E));
    c.Fill(
        Around(kSpare, 3.1f), [](Vec p) { return Distance(p, kSpare) <= 3.1f; }, Hex(0x37D67A));

    // The remap arrow: dark outline first, then amber.
    const auto outline = ArrowHead(1.0f);
    const auto head = ArrowHead(0.0f);
    // The curve stays inside the box of its three control points.
    const auto aroundArrow = [](float width) {
        return Around({kArrowFrom, kArrowBend, kArrowTo}, width);
    };
    const auto aroundHead = [](const std::array<Vec, 3>& corners) {
        return Around({corners[0], corners[1], corners[2]}, 0.0f);
    };
    c.Fill(
        aroundArrow(2.0f), [](Vec p) { return NearArrow(p, 2.0f); }, Hex(0x0A1228));
    c.Fill(
        aroundHead(outline),
        [&](Vec p) { return InTriangle(p, outline[0], outline[1], outline[2]); }, Hex(0x0A1228));
    c.Fill(
        aroundArrow(1.1f), [](Vec p) { return NearArrow(p, 1.1f); }, Hex(0xFFB21E));
    c.Fill(
        aroundHead(head), [&](Vec p) { return InTriangle(p, head[0], head[1], head[2]); },
        Hex(0xFFB21E));

    return c.ToArgb();
}

}  // namespace

fw::IconResource ProgramIcon(int size) {
    fw::IconResource icon;
    icon.id = IDR_MAINFRAME;
    icon.width = size;
    icon.height = size;
    icon.argb = DrawIcon(size);
    return icon;
}

}  // namespace tav::resparts
