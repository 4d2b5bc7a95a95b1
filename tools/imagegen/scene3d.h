#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

#include <vector>

class QPainter;

namespace zefa::imagegen {

struct Vec3
{
    double x = 0, y = 0, z = 0;
};

Vec3 operator+(const Vec3 &a, const Vec3 &b);
Vec3 operator-(const Vec3 &a, const Vec3 &b);
Vec3 operator*(const Vec3 &a, double s);
double dot(const Vec3 &a, const Vec3 &b);
Vec3 cross(const Vec3 &a, const Vec3 &b);
Vec3 normalized(const Vec3 &a);

struct Mat3
{
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    static Mat3 rotX(double deg);
    static Mat3 rotY(double deg);
    static Mat3 rotZ(double deg);
};

Mat3 operator*(const Mat3 &a, const Mat3 &b);
Vec3 operator*(const Mat3 &a, const Vec3 &v);

// A flat polygon; solid faces are culled when they face away from the viewer.
struct Face
{
    std::vector<Vec3> points;
    QColor color;
    bool twoSided = false;
    bool outline = true;
    // Pulls a decal in front of the face it lies on when depths are sorted.
    double depthBias = 0;
    // Two-sided parts that float above one side of the model (rotor discs): drawn
    // over nearby parts when that side faces the viewer, under them otherwise.
    double facingBias = 0;
};

// Tiny flat-shaded model built from boxes, prisms and discs, drawn with the
// painter's algorithm. Enough for a recognisable aircraft, no more.
class Scene
{
public:
    void addBox(const Vec3 &center, const Vec3 &halfA, const Vec3 &halfB, const Vec3 &halfC,
                const QColor &color);
    // Square beam of half thickness `half` from a to b.
    void addBeam(const Vec3 &a, const Vec3 &b, double half, const QColor &color);
    // Upright cylinder approximated by a prism, from base up along `height`.
    void addPrism(const Vec3 &base, const Vec3 &height, double radius, int sides,
                  const QColor &color);
    // Thin disc in the plane spanned by u and v (unit vectors); its front side
    // is the one u x v points to.
    void addDisc(const Vec3 &center, const Vec3 &u, const Vec3 &v, double radius, int sides,
                 const QColor &color, double facingBias = 0);
    void addFace(const Face &face) { m_faces.push_back(face); }

    const std::vector<Face> &faces() const { return m_faces; }

private:
    void addSolidFace(std::vector<Vec3> points, const Vec3 &solidCenter, const QColor &color);

    std::vector<Face> m_faces;
};

// Orthographic camera looking down at `elevationDeg` with world +z up.
struct View
{
    Mat3 model; // body to world
    double elevationDeg = 30;
    double scale = 1; // pixels per model unit
    QPointF origin;   // screen position of the world origin

    Vec3 toCamera(const Vec3 &world) const; // x right, y depth, z up
    QPointF project(const Vec3 &world) const;
};

// Bounding box on screen of the scene placed in the world by `view.model`.
QRectF projectedBounds(const Scene &scene, const View &view);

void renderScene(QPainter &painter, const Scene &scene, const View &view);

} // namespace zefa::imagegen
