#include "color/tailwind_palette.h"

#include "color/color_space.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace tintavo {

namespace {

// The values below are those of the tailwindcss package (version 4.3.5),
// theme.css, which carries this notice:
//
// MIT License
//
// Copyright (c) Tailwind Labs, Inc.
//
// Permission is hereby granted, free of charge, to any person obtaining a copy
// of this software and associated documentation files (the "Software"), to deal
// in the Software without restriction, including without limitation the rights
// to use, copy, modify, merge, publish, distribute, sublicense, and/or sell
// copies of the Software, and to permit persons to whom the Software is
// furnished to do so, subject to the following conditions:
//
// The above copyright notice and this permission notice shall be included in all
// copies or substantial portions of the Software.
//
// THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
// IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
// FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
// AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
// LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
// OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE
// SOFTWARE.

struct Step
{
    double lightnessPercent, chroma, hue; // a hue of "none" is 0
};
struct Family
{
    const char *name;
    std::array<Step, kTailwindStepCount> steps;
};

// clang-format off
constexpr Family kFamilies[] = {
    {"red",
     {{{97.1, 0.013, 17.38}, {93.6, 0.032, 17.717}, {88.5, 0.062, 18.334}, {80.8, 0.114, 19.571},
       {70.4, 0.191, 22.216}, {63.7, 0.237, 25.331}, {57.7, 0.245, 27.325}, {50.5, 0.213, 27.518},
       {44.4, 0.177, 26.899}, {39.6, 0.141, 25.723}, {25.8, 0.092, 26.042}}}},
    {"orange",
     {{{98, 0.016, 73.684}, {95.4, 0.038, 75.164}, {90.1, 0.076, 70.697}, {83.7, 0.128, 66.29},
       {75, 0.183, 55.934}, {70.5, 0.213, 47.604}, {64.6, 0.222, 41.116}, {55.3, 0.195, 38.402},
       {47, 0.157, 37.304}, {40.8, 0.123, 38.172}, {26.6, 0.079, 36.259}}}},
    {"amber",
     {{{98.7, 0.022, 95.277}, {96.2, 0.059, 95.617}, {92.4, 0.12, 95.746}, {87.9, 0.169, 91.605},
       {82.8, 0.189, 84.429}, {76.9, 0.188, 70.08}, {66.6, 0.179, 58.318}, {55.5, 0.163, 48.998},
       {47.3, 0.137, 46.201}, {41.4, 0.112, 45.904}, {27.9, 0.077, 45.635}}}},
    {"yellow",
     {{{98.7, 0.026, 102.212}, {97.3, 0.071, 103.193}, {94.5, 0.129, 101.54}, {90.5, 0.182, 98.111},
       {85.2, 0.199, 91.936}, {79.5, 0.184, 86.047}, {68.1, 0.162, 75.834}, {55.4, 0.135, 66.442},
       {47.6, 0.114, 61.907}, {42.1, 0.095, 57.708}, {28.6, 0.066, 53.813}}}},
    {"lime",
     {{{98.6, 0.031, 120.757}, {96.7, 0.067, 122.328}, {93.8, 0.127, 124.321}, {89.7, 0.196, 126.665},
       {84.1, 0.238, 128.85}, {76.8, 0.233, 130.85}, {64.8, 0.2, 131.684}, {53.2, 0.157, 131.589},
       {45.3, 0.124, 130.933}, {40.5, 0.101, 131.063}, {27.4, 0.072, 132.109}}}},
    {"green",
     {{{98.2, 0.018, 155.826}, {96.2, 0.044, 156.743}, {92.5, 0.084, 155.995}, {87.1, 0.15, 154.449},
       {79.2, 0.209, 151.711}, {72.3, 0.219, 149.579}, {62.7, 0.194, 149.214}, {52.7, 0.154, 150.069},
       {44.8, 0.119, 151.328}, {39.3, 0.095, 152.535}, {26.6, 0.065, 152.934}}}},
    {"emerald",
     {{{97.9, 0.021, 166.113}, {95, 0.052, 163.051}, {90.5, 0.093, 164.15}, {84.5, 0.143, 164.978},
       {76.5, 0.177, 163.223}, {69.6, 0.17, 162.48}, {59.6, 0.145, 163.225}, {50.8, 0.118, 165.612},
       {43.2, 0.095, 166.913}, {37.8, 0.077, 168.94}, {26.2, 0.051, 172.552}}}},
    {"teal",
     {{{98.4, 0.014, 180.72}, {95.3, 0.051, 180.801}, {91, 0.096, 180.426}, {85.5, 0.138, 181.071},
       {77.7, 0.152, 181.912}, {70.4, 0.14, 182.503}, {60, 0.118, 184.704}, {51.1, 0.096, 186.391},
       {43.7, 0.078, 188.216}, {38.6, 0.063, 188.416}, {27.7, 0.046, 192.524}}}},
    {"cyan",
     {{{98.4, 0.019, 200.873}, {95.6, 0.045, 203.388}, {91.7, 0.08, 205.041}, {86.5, 0.127, 207.078},
       {78.9, 0.154, 211.53}, {71.5, 0.143, 215.221}, {60.9, 0.126, 221.723}, {52, 0.105, 223.128},
       {45, 0.085, 224.283}, {39.8, 0.07, 227.392}, {30.2, 0.056, 229.695}}}},
    {"sky",
     {{{97.7, 0.013, 236.62}, {95.1, 0.026, 236.824}, {90.1, 0.058, 230.902}, {82.8, 0.111, 230.318},
       {74.6, 0.16, 232.661}, {68.5, 0.169, 237.323}, {58.8, 0.158, 241.966}, {50, 0.134, 242.749},
       {44.3, 0.11, 240.79}, {39.1, 0.09, 240.876}, {29.3, 0.066, 243.157}}}},
    {"blue",
     {{{97, 0.014, 254.604}, {93.2, 0.032, 255.585}, {88.2, 0.059, 254.128}, {80.9, 0.105, 251.813},
       {70.7, 0.165, 254.624}, {62.3, 0.214, 259.815}, {54.6, 0.245, 262.881}, {48.8, 0.243, 264.376},
       {42.4, 0.199, 265.638}, {37.9, 0.146, 265.522}, {28.2, 0.091, 267.935}}}},
    {"indigo",
     {{{96.2, 0.018, 272.314}, {93, 0.034, 272.788}, {87, 0.065, 274.039}, {78.5, 0.115, 274.713},
       {67.3, 0.182, 276.935}, {58.5, 0.233, 277.117}, {51.1, 0.262, 276.966}, {45.7, 0.24, 277.023},
       {39.8, 0.195, 277.366}, {35.9, 0.144, 278.697}, {25.7, 0.09, 281.288}}}},
    {"violet",
     {{{96.9, 0.016, 293.756}, {94.3, 0.029, 294.588}, {89.4, 0.057, 293.283}, {81.1, 0.111, 293.571},
       {70.2, 0.183, 293.541}, {60.6, 0.25, 292.717}, {54.1, 0.281, 293.009}, {49.1, 0.27, 292.581},
       {43.2, 0.232, 292.759}, {38, 0.189, 293.745}, {28.3, 0.141, 291.089}}}},
    {"purple",
     {{{97.7, 0.014, 308.299}, {94.6, 0.033, 307.174}, {90.2, 0.063, 306.703}, {82.7, 0.119, 306.383},
       {71.4, 0.203, 305.504}, {62.7, 0.265, 303.9}, {55.8, 0.288, 302.321}, {49.6, 0.265, 301.924},
       {43.8, 0.218, 303.724}, {38.1, 0.176, 304.987}, {29.1, 0.149, 302.717}}}},
    {"fuchsia",
     {{{97.7, 0.017, 320.058}, {95.2, 0.037, 318.852}, {90.3, 0.076, 319.62}, {83.3, 0.145, 321.434},
       {74, 0.238, 322.16}, {66.7, 0.295, 322.15}, {59.1, 0.293, 322.896}, {51.8, 0.253, 323.949},
       {45.2, 0.211, 324.591}, {40.1, 0.17, 325.612}, {29.3, 0.136, 325.661}}}},
    {"pink",
     {{{97.1, 0.014, 343.198}, {94.8, 0.028, 342.258}, {89.9, 0.061, 343.231}, {82.3, 0.12, 346.018},
       {71.8, 0.202, 349.761}, {65.6, 0.241, 354.308}, {59.2, 0.249, 0.584}, {52.5, 0.223, 3.958},
       {45.9, 0.187, 3.815}, {40.8, 0.153, 2.432}, {28.4, 0.109, 3.907}}}},
    {"rose",
     {{{96.9, 0.015, 12.422}, {94.1, 0.03, 12.58}, {89.2, 0.058, 10.001}, {81, 0.117, 11.638},
       {71.2, 0.194, 13.428}, {64.5, 0.246, 16.439}, {58.6, 0.253, 17.585}, {51.4, 0.222, 16.935},
       {45.5, 0.188, 13.697}, {41, 0.159, 10.272}, {27.1, 0.105, 12.094}}}},
    {"slate",
     {{{98.4, 0.003, 247.858}, {96.8, 0.007, 247.896}, {92.9, 0.013, 255.508}, {86.9, 0.022, 252.894},
       {70.4, 0.04, 256.788}, {55.4, 0.046, 257.417}, {44.6, 0.043, 257.281}, {37.2, 0.044, 257.287},
       {27.9, 0.041, 260.031}, {20.8, 0.042, 265.755}, {12.9, 0.042, 264.695}}}},
    {"gray",
     {{{98.5, 0.002, 247.839}, {96.7, 0.003, 264.542}, {92.8, 0.006, 264.531}, {87.2, 0.01, 258.338},
       {70.7, 0.022, 261.325}, {55.1, 0.027, 264.364}, {44.6, 0.03, 256.802}, {37.3, 0.034, 259.733},
       {27.8, 0.033, 256.848}, {21, 0.034, 264.665}, {13, 0.028, 261.692}}}},
    {"zinc",
     {{{98.5, 0, 0}, {96.7, 0.001, 286.375}, {92, 0.004, 286.32}, {87.1, 0.006, 286.286},
       {70.5, 0.015, 286.067}, {55.2, 0.016, 285.938}, {44.2, 0.017, 285.786}, {37, 0.013, 285.805},
       {27.4, 0.006, 286.033}, {21, 0.006, 285.885}, {14.1, 0.005, 285.823}}}},
    {"neutral",
     {{{98.5, 0, 0}, {97, 0, 0}, {92.2, 0, 0}, {87, 0, 0},
       {70.8, 0, 0}, {55.6, 0, 0}, {43.9, 0, 0}, {37.1, 0, 0},
       {26.9, 0, 0}, {20.5, 0, 0}, {14.5, 0, 0}}}},
    {"stone",
     {{{98.5, 0.001, 106.423}, {97, 0.001, 106.424}, {92.3, 0.003, 48.717}, {86.9, 0.005, 56.366},
       {70.9, 0.01, 56.259}, {55.3, 0.013, 58.071}, {44.4, 0.011, 73.639}, {37.4, 0.01, 67.558},
       {26.8, 0.007, 34.298}, {21.6, 0.006, 56.043}, {14.7, 0.004, 49.25}}}},
    {"mauve",
     {{{98.5, 0, 0}, {96, 0.003, 325.6}, {92.2, 0.005, 325.62}, {86.5, 0.012, 325.68},
       {71.1, 0.019, 323.02}, {54.2, 0.034, 322.5}, {43.5, 0.029, 321.78}, {36.4, 0.029, 323.89},
       {26.3, 0.024, 320.12}, {21.2, 0.019, 322.12}, {14.5, 0.008, 326}}}},
    {"olive",
     {{{98.8, 0.003, 106.5}, {96.6, 0.005, 106.5}, {93, 0.007, 106.5}, {88, 0.011, 106.6},
       {73.7, 0.021, 106.9}, {58, 0.031, 107.3}, {46.6, 0.025, 107.3}, {39.4, 0.023, 107.4},
       {28.6, 0.016, 107.4}, {22.8, 0.013, 107.4}, {15.3, 0.006, 107.1}}}},
    {"mist",
     {{{98.7, 0.002, 197.1}, {96.3, 0.002, 197.1}, {92.5, 0.005, 214.3}, {87.2, 0.007, 219.6},
       {72.3, 0.014, 214.4}, {56, 0.021, 213.5}, {45, 0.017, 213.2}, {37.8, 0.015, 216},
       {27.5, 0.011, 216.9}, {21.8, 0.008, 223.9}, {14.8, 0.004, 228.8}}}},
    {"taupe",
     {{{98.6, 0.002, 67.8}, {96, 0.002, 17.2}, {92.2, 0.005, 34.3}, {86.8, 0.007, 39.5},
       {71.4, 0.014, 41.2}, {54.7, 0.021, 43.1}, {43.8, 0.017, 39.3}, {36.7, 0.016, 35.7},
       {26.8, 0.011, 36.5}, {21.4, 0.009, 43.1}, {14.7, 0.004, 49.3}}}},
};
// clang-format on

struct Entry
{
    QString name;
    OkLab lab;
    Rgb shown;
};

OkLab labOf(const Step &s)
{
    const double rad = s.hue * std::numbers::pi / 180.0;
    return {s.lightnessPercent / 100.0, s.chroma * std::cos(rad), s.chroma * std::sin(rad)};
}

const std::vector<Entry> &entries()
{
    static const std::vector<Entry> table = [] {
        std::vector<Entry> out;
        const auto add = [&out](QString name, OkLab lab) {
            out.push_back({std::move(name), lab, fromLinear(fromOkLab(lab))});
        };
        add(QStringLiteral("black"), {0, 0, 0});
        add(QStringLiteral("white"), {1, 0, 0});
        for (const Family &f : kFamilies)
            for (int i = 0; i < kTailwindStepCount; ++i)
                add(QStringLiteral("%1-%2")
                        .arg(QLatin1String(f.name))
                        .arg(kTailwindSteps[size_t(i)]),
                    labOf(f.steps[size_t(i)]));
        return out;
    }();
    return table;
}

bool chromatic(const Family &f)
{
    for (const Step &s : f.steps)
        if (s.chroma > 0.1)
            return true;
    return false;
}

// Per step, the mean of `part` over the chromatic families.
std::array<double, kTailwindStepCount> stepMeans(double Step::*part)
{
    std::array<double, kTailwindStepCount> sums{};
    int families = 0;
    for (const Family &f : kFamilies) {
        if (!chromatic(f))
            continue;
        ++families;
        for (int i = 0; i < kTailwindStepCount; ++i)
            sums[size_t(i)] += f.steps[size_t(i)].*part;
    }
    for (double &sum : sums)
        sum /= families;
    return sums;
}

} // namespace

const std::array<double, kTailwindStepCount> &tailwindStepLightness()
{
    static const std::array<double, kTailwindStepCount> ladder = [] {
        std::array<double, kTailwindStepCount> means = stepMeans(&Step::lightnessPercent);
        for (double &m : means)
            m /= 100.0;
        return means;
    }();
    return ladder;
}

const std::array<double, kTailwindStepCount> &tailwindStepChroma()
{
    static const std::array<double, kTailwindStepCount> means = stepMeans(&Step::chroma);
    return means;
}

TailwindMatch nearestTailwindColor(Rgb c)
{
    const OkLab lab = toOkLab(toLinear(c));
    TailwindMatch best;
    double bestDistance = INFINITY;
    for (const Entry &e : entries()) {
        if (e.shown == c)
            return {e.name, std::hypot(lab.L - e.lab.L, lab.a - e.lab.a, lab.b - e.lab.b), true};
        const double d = std::hypot(lab.L - e.lab.L, lab.a - e.lab.a, lab.b - e.lab.b);
        if (d < bestDistance) {
            bestDistance = d;
            best = {e.name, d, false};
        }
    }
    return best;
}

} // namespace tintavo
