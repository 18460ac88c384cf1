// make_backdrop OUTPUT.jpg
//
// Paints the picture the buzzer stretches over the whole screen: a deep blue to
// purple diagonal gradient, a soft glow a little above the middle where the
// buzzer's window sits, faint rings and light rays around it, a few out of
// focus light spots, and a vignette. No text: the build has no fonts.
//
// The picture is written to OUTPUT.jpg.tmp and renamed when complete, so a
// failed run never leaves a truncated file that the build would take as done.

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kQuality = 85;
constexpr float kPi = 3.14159265f;
// Centre of the glow, a little above the middle of the screen.
constexpr float kGlowX = kWidth * 0.5f;
constexpr float kGlowY = kHeight * 0.42f;

struct Rgb {
    float r, g, b;
};

Rgb mix(Rgb a, Rgb b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Light added the way a glow adds to what is under it: never past white.
Rgb screen(Rgb base, Rgb light, float amount)
{
    auto one = [amount](float b, float l) { return 255.0f - (255.0f - b) * (255.0f - l * amount) / 255.0f; };
    return {one(base.r, light.r), one(base.g, light.g), one(base.b, light.b)};
}

// A fixed pseudo-random value in [0, 1) per pixel: dithering keeps the wide,
// slow gradients from banding into steps.
float hashNoise(int x, int y)
{
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFFu) / 65536.0f;
}

struct Spot {
    float x, y, radius, strength;
};

// Out-of-focus light spots, placed by a fixed sequence so every build paints
// the same picture.
std::array<Spot, 16> makeSpots()
{
    std::array<Spot, 16> spots{};
    std::uint32_t state = 20240601u;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / 16777216.0f;
    };
    for (Spot& s : spots) {
        // Keep them off the middle, where the buzzer's window covers the glow.
        do {
            s.x = next() * kWidth;
            s.y = next() * kHeight;
        } while (std::hypot(s.x - kGlowX, s.y - kGlowY) < kHeight * 0.3f);
        s.radius = 25.0f + next() * 70.0f;
        s.strength = 0.05f + next() * 0.09f;
    }
    return spots;
}

void paintRow(int y, const std::array<Spot, 16>& spots, std::vector<JSAMPLE>& row)
{
    const Rgb navy{9, 14, 48};
    const Rgb indigo{30, 24, 88};
    const Rgb plum{64, 22, 96};
    const Rgb glowColour{120, 105, 215};
    const Rgb ringColour{190, 180, 255};
    const Rgb rayColour{170, 190, 255};
    const Rgb spotColour{210, 170, 255};

    for (int x = 0; x < kWidth; ++x) {
        // Diagonal gradient, top left to bottom right, through indigo.
        const float diagonal = (float(x) / kWidth * 0.62f + float(y) / kHeight * 0.38f);
        Rgb c = diagonal < 0.5f ? mix(navy, indigo, smoothstep(0.0f, 0.5f, diagonal))
                                : mix(indigo, plum, smoothstep(0.5f, 1.0f, diagonal));

        // Distances in screen heights, so circles stay round on a wide screen.
        const float dx = (float(x) - kGlowX) / kHeight;
        const float dy = (float(y) - kGlowY) / kHeight;
        const float d = std::sqrt(dx * dx + dy * dy);

        c = screen(c, glowColour, 0.6f * std::exp(-(d * d) / (0.42f * 0.42f)));

        // Thin rings: a cosine sharpened by raising it to the 8th power.
        const float ringWave = 0.5f + 0.5f * std::cos(2.0f * kPi * d / 0.09f);
        const float ring2 = ringWave * ringWave;
        const float ring8 = ring2 * ring2 * ring2 * ring2;
        const float ringFade = smoothstep(0.1f, 0.25f, d) * std::exp(-d * 2.2f);
        c = screen(c, ringColour, 0.07f * ring8 * ringFade);

        // Broad, uneven rays: two angular waves so they do not look like spokes.
        const float angle = std::atan2(dy, dx);
        const float rays = (0.5f + 0.5f * std::cos(angle * 18.0f)) * (0.55f + 0.45f * std::cos(angle * 5.0f + 1.3f));
        const float rayFade = smoothstep(0.05f, 0.35f, d) * std::exp(-d * 1.1f);
        c = screen(c, rayColour, 0.10f * rays * rays * rayFade);

        for (const Spot& s : spots) {
            const float sx = float(x) - s.x;
            const float sy = float(y) - s.y;
            const float r2 = (sx * sx + sy * sy) / (s.radius * s.radius);
            if (r2 < 1.0f)
                c = screen(c, spotColour, s.strength * (1.0f - smoothstep(0.55f, 1.0f, std::sqrt(r2))));
        }

        // Darker corners hold the eye on the middle.
        const float cx = (float(x) / kWidth - 0.5f) * 2.0f;
        const float cy = (float(y) / kHeight - 0.5f) * 2.0f;
        const float vignette = 1.0f - 0.38f * smoothstep(0.5f, 1.45f, std::sqrt(cx * cx + cy * cy));

        const float dither = hashNoise(x, y) - 0.5f;
        auto channel = [&](float v) { return JSAMPLE(std::clamp(v * vignette + dither + 0.5f, 0.0f, 255.0f)); };
        row[size_t(x) * 3 + 0] = channel(c.r);
        row[size_t(x) * 3 + 1] = channel(c.g);
        row[size_t(x) * 3 + 2] = channel(c.b);
    }
}

// libjpeg's default error_exit ends the process; jump back instead so the
// caller can clean up and report.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void onJpegError(j_common_ptr cinfo)
{
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    std::fprintf(stderr, "make_backdrop: libjpeg: %s\n", message);
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Returns false after reporting on stderr. Nothing with a destructor may live
// between the setjmp and the libjpeg calls: longjmp skips destructors.
bool writeJpeg(std::FILE* file, const std::array<Spot, 16>& spots, std::vector<JSAMPLE>& row)
{
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = onJpegError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, kQuality, TRUE);
    // Full-resolution colour: 4:2:0 smears the thin coloured rings.
    cinfo.comp_info[0].h_samp_factor = 1;
    cinfo.comp_info[0].v_samp_factor = 1;
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        paintRow(int(cinfo.next_scanline), spots, row);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_backdrop OUTPUT.jpg\n");
        return 2;
    }
    const std::string output = argv[1];
    const std::string partial = output + ".tmp";

    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file) {
        std::perror(("make_backdrop: " + partial).c_str());
        return 1;
    }
    const std::array<Spot, 16> spots = makeSpots();
    std::vector<JSAMPLE> row(size_t(kWidth) * 3);
    bool ok = writeJpeg(file, spots, row);
    if (ok && std::ferror(file)) {
        std::fprintf(stderr, "make_backdrop: write error on %s\n", partial.c_str());
        ok = false;
    }
    if (std::fclose(file) != 0) {
        std::perror(("make_backdrop: " + partial).c_str());
        ok = false;
    }
    if (ok && std::rename(partial.c_str(), output.c_str()) != 0) {
        std::perror(("make_backdrop: " + output).c_str());
        ok = false;
    }
    if (!ok) {
        std::remove(partial.c_str());
        return 1;
    }
    return 0;
}
