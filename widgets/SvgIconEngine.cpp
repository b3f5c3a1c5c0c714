#include "widgets/SvgIconEngine.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <optional>
#include <utility>

namespace {

// A caller that asks for ever new sizes (a zoom slider) must not grow the store without end.
constexpr qsizetype kMaxRenderings = 32;

quint64 renderingKey(const QSize& size, QIcon::Mode mode) {
    return (quint64(quint32(size.width())) << 32) | (quint64(quint32(size.height())) << 2) | quint64(mode);
}

// The drawing's size fitted into `size` with its aspect ratio kept; empty when there is nothing
// to draw.
QSize fittedSize(const QSize& drawingSize, const QSize& size) {
    if (!drawingSize.isValid()) {
        return {};
    }
    QSize fitted = drawingSize;
    if (!fitted.isNull()) {
        fitted.scale(size, Qt::KeepAspectRatio);
    }
    return fitted.isEmpty() ? QSize() : fitted;
}

QImage drawAt(QSvgRenderer& svg, const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

} // namespace

// The parsed drawing is kept only until it is next rendered (its node tree outweighs the
// pictures): a new size parses the file again, a repaint or another mode does not.
struct SvgIconEngine::Drawing {
    explicit Drawing(QString file) : path(std::move(file)) {}

    // The drawing's size (parsing the file the first time); invalid when it is not a drawing.
    QSize drawingSize() {
        if (!size) {
            parse();
        }
        return *size;
    }

    // The parsed drawing, for one rendering; null when the file is not a drawing.
    std::unique_ptr<QSvgRenderer> takeParsed() {
        if (parsed == nullptr && (!size || size->isValid())) {
            parse();
        }
        return std::move(parsed);
    }

    // The picture at `fitted` device pixels (a size fittedSize() gave) in `mode`.
    QPixmap rendering(const QSize& fitted, QIcon::Mode mode) {
        const auto found = renderings.constFind(renderingKey(fitted, mode));
        if (found != renderings.cend()) {
            return found.value();
        }
        QPixmap picture;
        if (mode == QIcon::Normal) {
            const std::unique_ptr<QSvgRenderer> svg = takeParsed();
            if (svg == nullptr) {
                return {};
            }
            picture = QPixmap::fromImage(drawAt(*svg, fitted));
        } else {
            // The other modes are the style's variants of the normal picture.
            picture = rendering(fitted, QIcon::Normal);
            if (!picture.isNull() && qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
                QStyleOption option;
                option.palette = QGuiApplication::palette();
                const QPixmap styled = QApplication::style()->generatedIconPixmap(mode, picture, &option);
                if (!styled.isNull()) {
                    picture = styled;
                }
            }
        }
        if (renderings.size() >= kMaxRenderings) {
            renderings.clear();
        }
        renderings.insert(renderingKey(fitted, mode), picture);
        return picture;
    }

    QString path;
    std::optional<QSize> size;
    std::unique_ptr<QSvgRenderer> parsed;
    QHash<quint64, QPixmap> renderings;

private:
    void parse() {
        parsed = std::make_unique<QSvgRenderer>(path);
        if (parsed->isValid()) {
            size = parsed->defaultSize();
        } else {
            size = QSize();
            parsed.reset();
        }
    }
};

SvgIconEngine::SvgIconEngine(const QString& path) : m_drawing(std::make_shared<Drawing>(path)) {}

SvgIconEngine::SvgIconEngine(std::shared_ptr<Drawing> drawing) : m_drawing(std::move(drawing)) {}

SvgIconEngine::~SvgIconEngine() = default;

QSize SvgIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    return fittedSize(m_drawing->drawingSize(), size);
}

QPixmap SvgIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) {
    const QSize fitted = fittedSize(m_drawing->drawingSize(), size);
    return fitted.isEmpty() ? QPixmap() : m_drawing->rendering(fitted, mode);
}

void SvgIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    QSize devicePixels = rect.size();
    if (painter->device() != nullptr) {
        devicePixels *= painter->device()->devicePixelRatio();
    }
    painter->drawPixmap(rect, pixmap(devicePixels, mode, state));
}

QIconEngine* SvgIconEngine::clone() const {
    return new SvgIconEngine(m_drawing);
}

QString SvgIconEngine::key() const {
    return QStringLiteral("SvgIconEngine");
}

bool SvgIconEngine::isNull() {
    return !m_drawing->drawingSize().isValid();
}

QImage SvgIconEngine::render(const QString& path, const QSize& size) {
    QSvgRenderer svg(path);
    if (!svg.isValid()) {
        return {};
    }
    const QSize fitted = fittedSize(svg.defaultSize(), size);
    return fitted.isEmpty() ? QImage() : drawAt(svg, fitted);
}
