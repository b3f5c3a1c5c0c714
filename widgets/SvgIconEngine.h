#pragma once

#include <QIconEngine>
#include <QImage>
#include <QString>

#include <memory>

// An icon drawn from one SVG file (usually a built-in resource). Nothing is read until a size or
// a picture is first asked for (normally at the first paint); then the file is parsed once for its
// size and its first rendering. Every rendering is kept per pixel size and mode, so a repainted
// button, another mode (hover, disabled) or an icon handed out again neither parses nor draws
// again; only a new pixel size (another screen) parses the file again.
//
// The pixels are those of Qt's own SVG icon engine: the drawing scaled to fit the asked size with
// its aspect ratio kept, on a transparent background; the Disabled, Active and Selected modes are
// the style's variants of that picture. The state (On/Off) does not change the picture. A missing
// or broken file gives a null icon that paints nothing.
//
// GUI thread only (QPixmap), except render(). Copies of the icon share the renderings.
class SvgIconEngine final : public QIconEngine {
public:
    explicit SvgIconEngine(const QString& path);
    ~SvgIconEngine() override;

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    // `size` in device pixels; the pixmap has a device pixel ratio of 1.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
    // True for a file that is missing or not a drawing (this parses it).
    bool isNull() override;

    // The drawing at `path` as pixmap() renders it in the Normal mode for `size` device pixels,
    // as an image. Any thread; a null image for a file that is missing or not a drawing.
    static QImage render(const QString& path, const QSize& size);

private:
    struct Drawing;
    explicit SvgIconEngine(std::shared_ptr<Drawing> drawing);

    std::shared_ptr<Drawing> m_drawing;
};
