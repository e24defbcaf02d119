#pragma once
#include <QGraphicsView>
#include <QPointer>
#include <QTextDocument>

class QGraphicsTextItem;

// A document's pages as they will print: white sheets on a grey ground, the text within the printed
// margins, a gap after every page. The text is edited in place. Zoom 100% is the paper's real size on
// this screen; the view can also fit the page's width or the whole page, and keeps fitting while it
// is resized.
class PageView : public QGraphicsView {
    Q_OBJECT
public:
    enum class Fit { None, Width, Page };
    static constexpr double MinZoom = 0.25;
    static constexpr double MaxZoom = 5.0;

    explicit PageView(QTextDocument* doc, QWidget* parent = nullptr);

    QTextDocument* document() const { return doc_; }
    QGraphicsTextItem* textItem() const { return text_; }
    double zoom() const { return zoom_; }
    Fit fit() const { return fit_; }
    void setZoom(double zoom);
    void zoomIn();
    void zoomOut();
    void fitWidth();
    void fitPage();
    // The page in view (the one at the middle of the window), from 1, and the document's page count.
    int currentPage() const;
    int pageCount() const;
    // Leaves the document alone before it goes.
    void detach();

signals:
    void pageChanged(int current, int count);
    void zoomChanged(double zoom);

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    double screenScale() const;
    void applyZoom(double zoom, Fit fit);
    void documentResized();
    void reportPage();
    QPointer<QTextDocument> doc_;
    QGraphicsScene* scene_;
    QGraphicsTextItem* text_;
    double zoom_ = 1.0;
    Fit fit_ = Fit::Width;
    int lastPage_ = 0, lastCount_ = 0;
};
