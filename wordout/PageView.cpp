#include "PageView.h"
#include "PageLayout.h"
#include <QAbstractTextDocumentLayout>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QScrollBar>
#include <QStyleOptionGraphicsItem>
#include <QTextDocument>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

namespace {
// The document's text on the sheets. An item with the focus would draw a dashed frame around itself:
// around the whole document, here, which is not a frame the pages have.
class SheetText : public QGraphicsTextItem {
public:
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override
    {
        QStyleOptionGraphicsItem plain(*option);
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QGraphicsTextItem::paint(painter, &plain, widget);
    }
};

const QColor GroundColour(128, 128, 128);
const QColor SheetShadow(90, 90, 90);
// The zoom steps of Ctrl++ and Ctrl+-.
constexpr std::array<double, 12> Steps{0.25, 0.33, 0.5, 0.67, 0.75, 0.9, 1.0, 1.25, 1.5, 2.0, 3.0, 5.0};
} // namespace

PageView::PageView(QTextDocument* doc, QWidget* parent) : QGraphicsView(parent), doc_(doc)
{
    setObjectName(QStringLiteral("editor"));
    scene_ = new QGraphicsScene(this);
    setScene(scene_);
    text_ = new SheetText;
    text_->setDocument(doc);
    text_->setDefaultTextColor(Qt::black);   // on white paper, whatever the desktop's colours
    text_->setTextInteractionFlags(Qt::TextEditorInteraction);
    text_->setCursor(Qt::IBeamCursor);
    scene_->addItem(text_);
    text_->setFocus();
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTransformationAnchor(QGraphicsView::AnchorViewCenter);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    setFocusPolicy(Qt::StrongFocus);
    connect(doc->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, &PageView::documentResized);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &PageView::reportPage);
    // A document that goes while it is shown leaves an empty page behind, not a dangling one.
    connect(doc, &QObject::destroyed, this, [this] { text_->setDocument(new QTextDocument(text_)); });
    documentResized();
    applyZoom(1.0, Fit::Width);
}

void PageView::detach()
{
    if (!doc_) return;
    disconnect(doc_, nullptr, this, nullptr);
    disconnect(doc_->documentLayout(), nullptr, this, nullptr);
    doc_ = nullptr;
    text_->setDocument(new QTextDocument(text_));
}

double PageView::screenScale() const { return logicalDpiY() / PageLayout::Dpi; }

int PageView::pageCount() const { return doc_ ? PageLayout::pageCount(doc_) : 1; }

int PageView::currentPage() const
{
    const QPointF middle = mapToScene(viewport()->rect().center());
    return doc_ ? PageLayout::sheetAt(doc_, middle.y()) + 1 : 1;
}

void PageView::reportPage()
{
    const int page = currentPage(), count = pageCount();
    if (page == lastPage_ && count == lastCount_) return;
    lastPage_ = page;
    lastCount_ = count;
    emit pageChanged(page, count);
}

void PageView::documentResized()
{
    // The ground reaches a gap beyond the sheets on every side.
    const double g = PageLayout::gap();
    const QSizeF paper = PageLayout::paperSize();
    scene_->setSceneRect(-g, -g, paper.width() + 2 * g, pageCount() * PageLayout::stride() + g);
    reportPage();
}

void PageView::applyZoom(double zoom, Fit fit)
{
    zoom = std::clamp(zoom, MinZoom, MaxZoom);
    fit_ = fit;
    const bool changed = zoom != zoom_;
    zoom_ = zoom;
    const double s = zoom_ * screenScale();
    setTransform(QTransform::fromScale(s, s));
    // The text cursor stays at least a screen pixel wide.
    if (doc_) doc_->documentLayout()->setProperty("cursorWidth", std::max(1, int(std::ceil(1.0 / s))));
    if (changed) emit zoomChanged(zoom_);
    reportPage();
}

void PageView::setZoom(double zoom) { applyZoom(zoom, Fit::None); }

void PageView::zoomIn()
{
    auto next = std::upper_bound(Steps.begin(), Steps.end(), zoom_ + 1e-6);
    setZoom(next == Steps.end() ? MaxZoom : *next);
}

void PageView::zoomOut()
{
    auto below = std::lower_bound(Steps.begin(), Steps.end(), zoom_ - 1e-6);
    setZoom(below == Steps.begin() ? MinZoom : *(below - 1));
}

void PageView::fitWidth()
{
    const double g = PageLayout::gap();
    const double w = viewport()->width();
    applyZoom(w / ((PageLayout::paperSize().width() + 2 * g) * screenScale()), Fit::Width);
}

void PageView::fitPage()
{
    const int page = currentPage();
    const double g = PageLayout::gap();
    const QSizeF paper = PageLayout::paperSize();
    const double byWidth = viewport()->width() / ((paper.width() + 2 * g) * screenScale());
    const double byHeight = viewport()->height() / ((paper.height() + 2 * g) * screenScale());
    applyZoom(std::min(byWidth, byHeight), Fit::Page);
    centerOn(PageLayout::sheet(page - 1).center());
}

void PageView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    if (fit_ == Fit::Width) fitWidth();
    else if (fit_ == Fit::Page) fitPage();
    else reportPage();
}

void PageView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    // The point under the mouse stays where it is.
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    const int delta = event->angleDelta().y();
    if (delta > 0) zoomIn();
    else if (delta < 0) zoomOut();
    setTransformationAnchor(QGraphicsView::AnchorViewCenter);
    event->accept();
}

void PageView::drawBackground(QPainter* painter, const QRectF& rect)
{
    painter->fillRect(rect, GroundColour);
    if (!doc_) return;
    const int first = PageLayout::sheetAt(doc_, rect.top()), last = PageLayout::sheetAt(doc_, rect.bottom());
    const double offset = PageLayout::gap() / 6;
    for (int i = first; i <= last; ++i) {
        const QRectF s = PageLayout::sheet(i);
        painter->fillRect(s.translated(offset, offset), SheetShadow);
        painter->fillRect(s, Qt::white);
        PageLayout::drawFooter(painter, doc_, i);
    }
}
