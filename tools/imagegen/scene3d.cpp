#include "scene3d.h"

#include <QPainter>
#include <QPolygonF>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace zefa::imagegen {

Vec3 operator+(const Vec3 &a, const Vec3 &b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vec3 operator-(const Vec3 &a, const Vec3 &b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 operator*(const Vec3 &a, double s)
{
    return {a.x * s, a.y * s, a.z * s};
}

double dot(const Vec3 &a, const Vec3 &b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 cross(const Vec3 &a, const Vec3 &b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 normalized(const Vec3 &a)
{
    const double len = std::sqrt(dot(a, a));
    return len > 0 ? a * (1.0 / len) : a;
}

Mat3 Mat3::rotX(double deg)
{
    const double c = std::cos(qDegreesToRadians(deg)), s = std::sin(qDegreesToRadians(deg));
    Mat3 r;
    r.m[1][1] = c;
    r.m[1][2] = -s;
    r.m[2][1] = s;
    r.m[2][2] = c;
    return r;
}

Mat3 Mat3::rotY(double deg)
{
    const double c = std::cos(qDegreesToRadians(deg)), s = std::sin(qDegreesToRadians(deg));
    Mat3 r;
    r.m[0][0] = c;
    r.m[0][2] = s;
    r.m[2][0] = -s;
    r.m[2][2] = c;
    return r;
}

Mat3 Mat3::rotZ(double deg)
{
    const double c = std::cos(qDegreesToRadians(deg)), s = std::sin(qDegreesToRadians(deg));
    Mat3 r;
    r.m[0][0] = c;
    r.m[0][1] = -s;
    r.m[1][0] = s;
    r.m[1][1] = c;
    return r;
}

Mat3 operator*(const Mat3 &a, const Mat3 &b)
{
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    return r;
}

Vec3 operator*(const Mat3 &a, const Vec3 &v)
{
    return {a.m[0][0] * v.x + a.m[0][1] * v.y + a.m[0][2] * v.z,
            a.m[1][0] * v.x + a.m[1][1] * v.y + a.m[1][2] * v.z,
            a.m[2][0] * v.x + a.m[2][1] * v.y + a.m[2][2] * v.z};
}

namespace {

// Newell's method: robust for any planar polygon.
Vec3 faceNormal(const std::vector<Vec3> &pts)
{
    Vec3 n;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const Vec3 &a = pts[i];
        const Vec3 &b = pts[(i + 1) % pts.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return normalized(n);
}

Vec3 centroid(const std::vector<Vec3> &pts)
{
    Vec3 c;
    for (const Vec3 &p : pts)
        c = c + p;
    return c * (1.0 / double(pts.size()));
}

} // namespace

void Scene::addSolidFace(std::vector<Vec3> points, const Vec3 &solidCenter, const QColor &color)
{
    // Wind every face so its normal points out of the solid; culling relies on it.
    if (dot(faceNormal(points), centroid(points) - solidCenter) < 0)
        std::reverse(points.begin(), points.end());
    Face f;
    f.points = std::move(points);
    f.color = color;
    m_faces.push_back(std::move(f));
}

void Scene::addBox(const Vec3 &c, const Vec3 &a, const Vec3 &b, const Vec3 &h, const QColor &color)
{
    auto corner = [&](int i, int j, int k) { return c + a * i + b * j + h * k; };
    const int s[2] = {-1, 1};
    for (int sign : s) {
        addSolidFace(
            {corner(sign, -1, -1), corner(sign, 1, -1), corner(sign, 1, 1), corner(sign, -1, 1)}, c,
            color);
        addSolidFace(
            {corner(-1, sign, -1), corner(1, sign, -1), corner(1, sign, 1), corner(-1, sign, 1)}, c,
            color);
        addSolidFace(
            {corner(-1, -1, sign), corner(1, -1, sign), corner(1, 1, sign), corner(-1, 1, sign)}, c,
            color);
    }
}

void Scene::addBeam(const Vec3 &a, const Vec3 &b, double half, const QColor &color)
{
    const Vec3 axis = b - a;
    const Vec3 dir = normalized(axis);
    const Vec3 helper = std::abs(dir.z) < 0.9 ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
    const Vec3 u = normalized(cross(dir, helper));
    const Vec3 v = normalized(cross(u, dir));
    addBox((a + b) * 0.5, axis * 0.5, u * half, v * half, color);
}

void Scene::addPrism(const Vec3 &base, const Vec3 &height, double radius, int sides,
                     const QColor &color)
{
    const Vec3 dir = normalized(height);
    const Vec3 helper = std::abs(dir.z) < 0.9 ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
    const Vec3 u = normalized(cross(dir, helper));
    const Vec3 v = normalized(cross(dir, u));
    const Vec3 center = base + height * 0.5;
    std::vector<Vec3> bottom, top;
    for (int i = 0; i < sides; ++i) {
        const double a = 2 * M_PI * i / sides;
        const Vec3 p = base + u * (radius * std::cos(a)) + v * (radius * std::sin(a));
        bottom.push_back(p);
        top.push_back(p + height);
    }
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        addSolidFace({bottom[i], bottom[j], top[j], top[i]}, center, color);
    }
    addSolidFace(bottom, center, color);
    addSolidFace(top, center, color);
}

void Scene::addDisc(const Vec3 &center, const Vec3 &u, const Vec3 &v, double radius, int sides,
                    const QColor &color, double facingBias)
{
    Face f;
    for (int i = 0; i < sides; ++i) {
        const double a = 2 * M_PI * i / sides;
        f.points.push_back(center + u * (radius * std::cos(a)) + v * (radius * std::sin(a)));
    }
    f.color = color;
    f.twoSided = true;
    f.facingBias = facingBias;
    m_faces.push_back(std::move(f));
}

Vec3 View::toCamera(const Vec3 &world) const
{
    const double e = qDegreesToRadians(elevationDeg);
    const double c = std::cos(e), s = std::sin(e);
    // Looking along +y, tilted down by the elevation.
    return {world.x, world.y * c - world.z * s, world.y * s + world.z * c};
}

QPointF View::project(const Vec3 &world) const
{
    const Vec3 cam = toCamera(world);
    return {origin.x() + cam.x * scale, origin.y() - cam.z * scale};
}

QRectF projectedBounds(const Scene &scene, const View &view)
{
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const Face &f : scene.faces()) {
        for (const Vec3 &p : f.points) {
            const QPointF q = view.project(view.model * p);
            minX = std::min(minX, q.x());
            maxX = std::max(maxX, q.x());
            minY = std::min(minY, q.y());
            maxY = std::max(maxY, q.y());
        }
    }
    return QRectF(QPointF(minX, minY), QPointF(maxX, maxY));
}

void renderScene(QPainter &painter, const Scene &scene, const View &view)
{
    struct Item
    {
        double depth;
        std::size_t index;
        QPolygonF polygon;
        QColor color;
        bool outline;
    };
    // Light from above, a little from the left and from the viewer.
    const Vec3 light = normalized({-0.4, -0.5, 1.0});

    std::vector<Item> items;
    for (std::size_t i = 0; i < scene.faces().size(); ++i) {
        const Face &f = scene.faces()[i];
        std::vector<Vec3> world;
        for (const Vec3 &p : f.points)
            world.push_back(view.model * p);
        Vec3 n = faceNormal(world);
        const Vec3 camNormal = view.toCamera(n);
        if (!f.twoSided && camNormal.y > -1e-6)
            continue; // faces away from the viewer
        const double bias = f.depthBias + (camNormal.y < 0 ? f.facingBias : -f.facingBias);
        if (f.twoSided && dot(n, light) < 0)
            n = n * -1.0;
        const double shade = 0.62 + 0.38 * std::max(0.0, dot(n, light));
        QColor c = f.color;
        c.setRgbF(std::min(1.0, c.redF() * shade), std::min(1.0, c.greenF() * shade),
                  std::min(1.0, c.blueF() * shade), c.alphaF());

        QPolygonF poly;
        double depth = 0;
        for (const Vec3 &p : world) {
            poly << view.project(p);
            depth += view.toCamera(p).y;
        }
        items.push_back({depth / double(world.size()) - bias, i, poly, c, f.outline});
    }
    // Far to near; ties keep insertion order so output never depends on sort internals.
    std::stable_sort(items.begin(), items.end(),
                     [](const Item &a, const Item &b) { return a.depth > b.depth; });
    for (const Item &it : items) {
        QColor edge = it.color.darker(160);
        edge.setAlpha(std::min(255, it.color.alpha() + 60));
        painter.setPen(it.outline ? QPen(edge, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                                  : QPen(Qt::NoPen));
        painter.setBrush(it.color);
        painter.drawPolygon(it.polygon);
    }
}

} // namespace zefa::imagegen
