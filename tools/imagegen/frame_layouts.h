#pragma once

// Motor positions, numbers and spin directions for the frame diagrams.
// Numbering and directions follow common open-source autopilot conventions.
// Angles are measured clockwise from the nose, seen from above (90 = right).
// Radius is relative; the diagram scales every frame to fit its picture.

#include <cstddef>
#include <iterator>

namespace zefa::imagegen {

enum class Spin
{
    CW,
    CCW
};

// Coaxial frames carry two motors per arm; flat frames use Single.
enum class Level
{
    Single,
    Top,
    Bottom
};

struct MotorPlacement
{
    int number;
    double angleDeg;
    double radius;
    Spin spin;
    Level level;
};

struct FrameLayout
{
    const char *name; // file name is "frame-<name>.png"
    const MotorPlacement *motors;
    std::size_t count;
};

namespace layouts {
constexpr Spin CW = Spin::CW;
constexpr Spin CCW = Spin::CCW;
constexpr Level S = Level::Single;
constexpr Level T = Level::Top;
constexpr Level B = Level::Bottom;

inline constexpr MotorPlacement kQuadX[] = {
    {1, 45.0, 1.0, CCW, S},
    {2, 225.0, 1.0, CCW, S},
    {3, 315.0, 1.0, CW, S},
    {4, 135.0, 1.0, CW, S},
};

inline constexpr MotorPlacement kQuadPlus[] = {
    {1, 90.0, 1.0, CCW, S},
    {2, 270.0, 1.0, CCW, S},
    {3, 0.0, 1.0, CW, S},
    {4, 180.0, 1.0, CW, S},
};

inline constexpr MotorPlacement kHexaX[] = {
    {1, 90.0, 1.0, CW, S},   {2, 270.0, 1.0, CCW, S}, {3, 330.0, 1.0, CW, S},
    {4, 150.0, 1.0, CCW, S}, {5, 30.0, 1.0, CCW, S},  {6, 210.0, 1.0, CW, S},
};

inline constexpr MotorPlacement kHexaPlus[] = {
    {1, 0.0, 1.0, CW, S},   {2, 180.0, 1.0, CCW, S}, {3, 240.0, 1.0, CW, S},
    {4, 60.0, 1.0, CCW, S}, {5, 300.0, 1.0, CCW, S}, {6, 120.0, 1.0, CW, S},
};

// Y6A: top layer is 2, 5, 6; bottom layer is 1, 3, 4.
inline constexpr MotorPlacement kY6A[] = {
    {1, 60.0, 1.0, CCW, B}, {2, 300.0, 1.0, CW, T}, {3, 300.0, 1.0, CCW, B},
    {4, 180.0, 1.0, CW, B}, {5, 60.0, 1.0, CW, T},  {6, 180.0, 1.0, CCW, T},
};

// Y6B: every top motor spins CW, every bottom motor CCW.
inline constexpr MotorPlacement kY6B[] = {
    {1, 60.0, 1.0, CW, T},   {2, 60.0, 1.0, CCW, B}, {3, 180.0, 1.0, CW, T},
    {4, 180.0, 1.0, CCW, B}, {5, 300.0, 1.0, CW, T}, {6, 300.0, 1.0, CCW, B},
};

// Octo V: two rows of four, wide at the nose and narrow at the tail.
inline constexpr MotorPlacement kOctoV[] = {
    {1, 292.16, 0.9016, CW, S}, {2, 115.53, 0.7425, CW, S}, {3, 244.47, 0.7425, CCW, S},
    {4, 153.43, 1.118, CCW, S}, {5, 315.0, 1.4142, CCW, S}, {6, 67.84, 0.9016, CCW, S},
    {7, 45.0, 1.4142, CW, S},   {8, 206.57, 1.118, CW, S},
};

inline constexpr MotorPlacement kOctoPlus[] = {
    {1, 0.0, 1.0, CW, S},    {2, 180.0, 1.0, CW, S},  {3, 45.0, 1.0, CCW, S},
    {4, 135.0, 1.0, CCW, S}, {5, 315.0, 1.0, CCW, S}, {6, 225.0, 1.0, CCW, S},
    {7, 270.0, 1.0, CW, S},  {8, 90.0, 1.0, CW, S},
};

inline constexpr MotorPlacement kOctoX[] = {
    {1, 22.5, 1.0, CW, S},   {2, 202.5, 1.0, CW, S},  {3, 67.5, 1.0, CCW, S},
    {4, 157.5, 1.0, CCW, S}, {5, 337.5, 1.0, CCW, S}, {6, 247.5, 1.0, CCW, S},
    {7, 292.5, 1.0, CW, S},  {8, 112.5, 1.0, CW, S},
};
} // namespace layouts

inline constexpr FrameLayout kFrameLayouts[] = {
    {"X4", layouts::kQuadX, std::size(layouts::kQuadX)},
    {"Plus4", layouts::kQuadPlus, std::size(layouts::kQuadPlus)},
    {"X6", layouts::kHexaX, std::size(layouts::kHexaX)},
    {"Plus6", layouts::kHexaPlus, std::size(layouts::kHexaPlus)},
    {"Y6A", layouts::kY6A, std::size(layouts::kY6A)},
    {"Y6B", layouts::kY6B, std::size(layouts::kY6B)},
    {"V8", layouts::kOctoV, std::size(layouts::kOctoV)},
    {"Plus8", layouts::kOctoPlus, std::size(layouts::kOctoPlus)},
    {"X8", layouts::kOctoX, std::size(layouts::kOctoX)},
};

} // namespace zefa::imagegen
