#include "image/pixel/draw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace galvora {

namespace {

double clamp_opacity(double o) {
    if (!(o > 0.0)) return 0.0;  // also NaN
    return o > 1.0 ? 1.0 : o;
}

void blend_pixel(uint8_t* p, uint8_t r, uint8_t g, uint8_t b, double a) {
    p[0] = static_cast<uint8_t>(std::lround(p[0] + (r - p[0]) * a));
    p[1] = static_cast<uint8_t>(std::lround(p[1] + (g - p[1]) * a));
    p[2] = static_cast<uint8_t>(std::lround(p[2] + (b - p[2]) * a));
}

// The part of [lo, hi) inside [0, limit), as 32-bit values.
bool clip_span(int64_t lo, int64_t hi, int32_t limit, int32_t& out_lo, int32_t& out_hi) {
    lo = std::max<int64_t>(lo, 0);
    hi = std::min<int64_t>(hi, limit);
    if (hi <= lo) return false;
    out_lo = static_cast<int32_t>(lo);
    out_hi = static_cast<int32_t>(hi);
    return true;
}

void plot(PictureBuffer& t, int64_t x, int64_t y, uint8_t r, uint8_t g, uint8_t b, double a) {
    if (x < 0 || y < 0 || x >= t.width() || y >= t.height() || a <= 0) return;
    blend_pixel(t.pixel(static_cast<int32_t>(x), static_cast<int32_t>(y)), r, g, b, std::min(a, 1.0));
}

// Liang-Barsky: clips the segment to the rectangle [xmin, xmax] x [ymin, ymax].
bool clip_segment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin, double xmax, double ymax) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - xmin, xmax - x1, y1 - ymin, ymax - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const double nx1 = x1 + t0 * dx, ny1 = y1 + t0 * dy, nx2 = x1 + t1 * dx, ny2 = y1 + t1 * dy;
    x1 = nx1, y1 = ny1, x2 = nx2, y2 = ny2;
    return true;
}

}  // namespace

void fill_solid_rect(PictureBuffer& target, int32_t left, int32_t top, int32_t right, int32_t bottom, int64_t colour) {
    fill_transparent_rect(target, left, top, right, bottom, colour, 1.0);
}

void fill_transparent_rect(PictureBuffer& target, int32_t left, int32_t top, int32_t right, int32_t bottom,
                           int64_t colour, double opacity) {
    if (target.empty()) return;
    const double a = clamp_opacity(opacity);
    if (a <= 0) return;
    int32_t x0, x1, y0, y1;
    if (!clip_span(left, right, target.width(), x0, x1) || !clip_span(top, bottom, target.height(), y0, y1)) return;
    const uint8_t r = colour_red(colour), g = colour_green(colour), b = colour_blue(colour);
    for (int32_t y = y0; y < y1; ++y) {
        uint8_t* p = target.pixel(x0, y);
        for (int32_t x = x0; x < x1; ++x, p += 3) {
            if (a >= 1.0) {
                p[0] = r, p[1] = g, p[2] = b;
            } else {
                blend_pixel(p, r, g, b, a);
            }
        }
    }
}

void draw_line(PictureBuffer& target, int64_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
               bool antialias) {
    if (target.empty()) return;
    const uint8_t r = colour_red(colour), g = colour_green(colour), b = colour_blue(colour);
    double fx1 = x1, fy1 = y1, fx2 = x2, fy2 = y2;
    // Only the part near the picture is walked, so far-away ends cost nothing.
    if (!clip_segment(fx1, fy1, fx2, fy2, -1.0, -1.0, target.width(), target.height())) return;
    const double dx = fx2 - fx1, dy = fy2 - fy1;
    if (!antialias || dx == 0 || dy == 0 || std::fabs(dx) == std::fabs(dy)) {
        const double steps = std::max(std::fabs(dx), std::fabs(dy));
        const int64_t n = static_cast<int64_t>(std::ceil(steps));
        for (int64_t i = 0; i <= n; ++i) {
            const double t = n ? static_cast<double>(i) / n : 0.0;
            plot(target, std::llround(fx1 + dx * t), std::llround(fy1 + dy * t), r, g, b, 1.0);
        }
        return;
    }
    // Wu's line: two pixels across the main direction share the coverage.
    const bool steep = std::fabs(dy) > std::fabs(dx);
    double ax = fx1, ay = fy1, bx = fx2, by = fy2;
    if (steep) std::swap(ax, ay), std::swap(bx, by);
    if (ax > bx) std::swap(ax, bx), std::swap(ay, by);
    const double gradient = (by - ay) / (bx - ax);
    const int64_t start = std::llround(ax), end = std::llround(bx);
    for (int64_t x = start; x <= end; ++x) {
        const double yf = ay + gradient * (static_cast<double>(x) - ax);
        const double base = std::floor(yf);
        const double frac = yf - base;
        const int64_t y = static_cast<int64_t>(base);
        if (steep) {
            plot(target, y, x, r, g, b, 1.0 - frac);
            plot(target, y + 1, x, r, g, b, frac);
        } else {
            plot(target, x, y, r, g, b, 1.0 - frac);
            plot(target, x, y + 1, r, g, b, frac);
        }
    }
}

void draw_ellipse(PictureBuffer& target, int64_t colour, int32_t cx, int32_t cy, int32_t rx, int32_t ry, bool filled,
                  double opacity, bool antialias) {
    if (target.empty() || rx <= 0 || ry <= 0) return;
    const double a = clamp_opacity(opacity);
    if (a <= 0) return;
    const uint8_t r = colour_red(colour), g = colour_green(colour), b = colour_blue(colour);
    int32_t x0, x1, y0, y1;
    if (!clip_span(static_cast<int64_t>(cx) - rx - 1, static_cast<int64_t>(cx) + rx + 2, target.width(), x0, x1) ||
        !clip_span(static_cast<int64_t>(cy) - ry - 1, static_cast<int64_t>(cy) + ry + 2, target.height(), y0, y1))
        return;
    const double frx = rx, fry = ry, scale = std::min(frx, fry);
    for (int32_t y = y0; y < y1; ++y) {
        const double dy = (y - static_cast<double>(cy)) / fry;
        for (int32_t x = x0; x < x1; ++x) {
            const double dx = (x - static_cast<double>(cx)) / frx;
            // Approximate distance in pixels from the ellipse's edge, negative inside.
            const double d = (std::sqrt(dx * dx + dy * dy) - 1.0) * scale;
            double cover;
            if (filled) {
                cover = antialias ? std::clamp(0.5 - d, 0.0, 1.0) : (d <= 0.0 ? 1.0 : 0.0);
            } else {
                cover = antialias ? std::clamp(1.0 - std::fabs(d), 0.0, 1.0) : (std::fabs(d) <= 0.5 ? 1.0 : 0.0);
            }
            if (cover <= 0) continue;
            blend_pixel(target.pixel(x, y), r, g, b, cover * a);
        }
    }
}

namespace {

template <typename Skip>
void overlay(PictureBuffer& target, const PictureBuffer& source, int32_t x, int32_t y, double opacity, Skip skip) {
    if (target.empty() || source.empty()) return;
    const double a = clamp_opacity(opacity);
    if (a <= 0) return;
    int32_t tx0, tx1, ty0, ty1;
    if (!clip_span(x, static_cast<int64_t>(x) + source.width(), target.width(), tx0, tx1) ||
        !clip_span(y, static_cast<int64_t>(y) + source.height(), target.height(), ty0, ty1))
        return;
    for (int32_t ty = ty0; ty < ty1; ++ty) {
        const uint8_t* s = source.pixel(tx0 - x, ty - y);
        uint8_t* t = target.pixel(tx0, ty);
        for (int32_t tx = tx0; tx < tx1; ++tx, s += 3, t += 3) {
            if (skip(s)) continue;
            if (a >= 1.0) {
                t[0] = s[0], t[1] = s[1], t[2] = s[2];
            } else {
                blend_pixel(t, s[0], s[1], s[2], a);
            }
        }
    }
}

}  // namespace

void overlay_image(PictureBuffer& target, const PictureBuffer& source, int32_t x, int32_t y, double opacity) {
    overlay(target, source, x, y, opacity, [](const uint8_t*) { return false; });
}

void overlay_transparent(PictureBuffer& target, const PictureBuffer& source, int32_t x, int32_t y, double opacity,
                         int64_t transparent_colour, int32_t tolerance) {
    const int tr = colour_red(transparent_colour), tg = colour_green(transparent_colour),
              tb = colour_blue(transparent_colour);
    // The tolerance is a distance in colour space: the sum of the squared
    // channel differences (0 to 3 * 255 * 255), as the image stamps store it.
    const int tol = std::max(tolerance, 0);
    overlay(target, source, x, y, opacity, [&](const uint8_t* s) {
        const int dr = s[0] - tr;
        const int dg = s[1] - tg;
        const int db = s[2] - tb;
        return dr * dr + dg * dg + db * db <= tol;
    });
}

void alpha_blend(PictureBuffer& target, const PictureBuffer& source, const uint8_t* mask, int32_t x, int32_t y) {
    if (target.empty() || source.empty() || !mask) return;
    int32_t tx0, tx1, ty0, ty1;
    if (!clip_span(x, static_cast<int64_t>(x) + source.width(), target.width(), tx0, tx1) ||
        !clip_span(y, static_cast<int64_t>(y) + source.height(), target.height(), ty0, ty1))
        return;
    for (int32_t ty = ty0; ty < ty1; ++ty) {
        const int32_t sy = ty - y;
        const uint8_t* m = mask + static_cast<size_t>(sy) * source.width() + (tx0 - x);
        const uint8_t* s = source.pixel(tx0 - x, sy);
        uint8_t* t = target.pixel(tx0, ty);
        for (int32_t tx = tx0; tx < tx1; ++tx, s += 3, t += 3, ++m) {
            if (*m == 0) continue;
            if (*m == 255) {
                t[0] = s[0], t[1] = s[1], t[2] = s[2];
            } else {
                blend_pixel(t, s[0], s[1], s[2], *m / 255.0);
            }
        }
    }
}

}  // namespace galvora
