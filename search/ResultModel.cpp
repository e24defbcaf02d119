#include "ResultModel.h"
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QTextDocument>

ResultModel::ResultModel(QObject* parent) : QAbstractListModel(parent) {}

QString ResultModel::relatedHeading() { return QStringLiteral("Forme affini"); }

void ResultModel::setResult(SearchIndex* index, const SearchIndex::Result& result)
{
    beginResetModel();
    index_ = index;
    hits_ = result.hits;
    query_ = result.query;
    html_.clear();
    endResetModel();
}

int ResultModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(hits_.size()); }

int ResultModel::entryAt(int row) const { return row >= 0 && row < int(hits_.size()) ? hits_[std::size_t(row)].id : -1; }

QString ResultModel::html(int row) const
{
    auto it = html_.constFind(row);
    if (it != html_.constEnd()) return *it;
    const int id = hits_[std::size_t(row)].id;
    const QString s = index_->snippet(id, query_, true);
    html_.insert(row, s);
    return s;
}

QVariant ResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(hits_.size()) || !index_) return QVariant();
    const int id = hits_[std::size_t(index.row())].id;
    const MaximEntry& e = index_->entry(id);
    switch (role) {
    case PlaceRole: {
        // The maxims found only through related forms say so in their heading.
        const QString tier = hits_[std::size_t(index.row())].tier == SearchIndex::Related
                                 ? relatedHeading() + QStringLiteral(" \u2013 ")
                                 : QString();
        return tier + QStringLiteral("%1 \u2013 %2) %3 \u2013 n. %4")
            .arg(MaximCorpus::archiveTitle(e))
            .arg(e.topic)
            .arg(MaximCorpus::topicTitle(e))
            .arg(e.maxim);
    }
    case CitationRole: return Citations::text(e.text);
    case Qt::DisplayRole:
    case HeadRole: {
        const QString citation = Citations::text(e.text);
        const QString place = data(index, PlaceRole).toString();
        return citation.isEmpty() ? place : place + QStringLiteral(" \u2013 ") + citation;
    }
    // What a screen reader says of the row: where the maxim stands and its citation, then the excerpt.
    case Qt::AccessibleTextRole:
        return data(index, HeadRole).toString() + QStringLiteral(". ") + index_->snippet(id, query_, false);
    case Qt::ToolTipRole: {
        const QString citation = Citations::text(e.text);
        return MaximCorpus::headingLine(e) + (citation.isEmpty() ? QString() : QLatin1Char('\n') + citation);
    }
    case HtmlRole: return html(index.row());
    // 1 on the first row of the related forms, where their heading is drawn; 2 on the others.
    case RelatedRole: {
        if (hits_[std::size_t(index.row())].tier != SearchIndex::Related) return 0;
        return index.row() == 0 || hits_[std::size_t(index.row()) - 1].tier != SearchIndex::Related ? 1 : 2;
    }
    case EntryRole: return id;
    default: return QVariant();
    }
}

namespace {
constexpr int Lines = 3;
constexpr int Padding = 3;
constexpr int Gap = 12;   // between the place and the citation

QFont boldOf(const QFont& f)
{
    QFont b = f;
    b.setBold(true);
    return b;
}

} // namespace

void ResultDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);

    const QRect r = opt.rect.adjusted(Padding, Padding, -Padding, -Padding);
    const bool selected = opt.state & QStyle::State_Selected;
    const QFontMetrics fm(opt.font);
    const QRect line(r.left(), r.top(), r.width(), fm.height());
    const Heading h = heading(opt.font, line.width(), index.data(ResultModel::PlaceRole).toString(),
                              index.data(ResultModel::CitationRole).toString());
    painter->save();
    painter->setPen(selected ? opt.palette.color(QPalette::HighlightedText) : QColor(0, 0, 128));
    painter->setFont(opt.font);
    painter->drawText(h.place.translated(line.topLeft()), Qt::AlignLeft | Qt::AlignVCenter, h.placeText);
    painter->setFont(boldOf(opt.font));
    painter->drawText(h.citation.translated(line.topLeft()), Qt::AlignLeft | Qt::AlignVCenter, h.citationText);
    painter->restore();

    QTextDocument doc;
    doc.setDefaultFont(opt.font);
    doc.setDocumentMargin(0);
    doc.setHtml(index.data(ResultModel::HtmlRole).toString());
    doc.setTextWidth(r.width());
    painter->save();
    painter->translate(r.left(), r.top() + fm.lineSpacing());
    const QRect clip(0, 0, r.width(), r.height() - fm.lineSpacing());
    painter->setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    if (selected)
        ctx.palette.setColor(QPalette::Text, opt.palette.color(QPalette::HighlightedText));
    else
        ctx.palette.setColor(QPalette::Text, opt.palette.color(QPalette::Text));
    doc.documentLayout()->draw(painter, ctx);
    painter->restore();
    // A thin rule between hits; a strong one over the first of the related forms, which start a group.
    painter->save();
    painter->setPen(QColor(208, 208, 208));
    painter->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
    if (index.data(ResultModel::RelatedRole).toInt() == 1) {
        painter->setPen(QPen(QColor(0, 0, 128), 2));
        painter->drawLine(opt.rect.topLeft(), opt.rect.topRight());
    }
    painter->restore();
}

QSize ResultDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // Every row is three lines high, so that the list can use uniform rows and never lays out the
    // rows it does not show.
    return QSize(option.rect.width(), QFontMetrics(option.font).lineSpacing() * Lines + 2 * Padding + 1);
}

ResultDelegate::Heading ResultDelegate::heading(const QFont& font, int width, const QString& place, const QString& citation)
{
    const QFontMetrics fm(font), fmBold(boldOf(font));
    Heading h;
    const int height = fm.height();
    const int citationWidth = fmBold.horizontalAdvance(citation);
    if (citation.isEmpty()) {
        h.placeText = fm.elidedText(place, Qt::ElideRight, width);
        h.place = QRect(0, 0, width, height);
    } else if (citationWidth <= width) {
        // The citation whole at the right; the place in what is left, cut when it must be.
        const int room = std::max(0, width - citationWidth - Gap);
        h.citationText = citation;
        h.citation = QRect(width - citationWidth, 0, citationWidth, height);
        h.placeText = room > fm.horizontalAdvance(QStringLiteral("…")) * 4 ? fm.elidedText(place, Qt::ElideRight, room) : QString();
        h.place = QRect(0, 0, room, height);
    } else {
        // Narrower than any window at its normal text size allows: the citation alone, as much as fits.
        h.citationText = fmBold.elidedText(citation, Qt::ElideRight, width);
        h.citation = QRect(0, 0, width, height);
    }
    return h;
}

int ResultDelegate::widthForCitations(const SearchIndex& index, const QFont& font)
{
    const QFontMetrics fm(boldOf(font));
    int widest = 0;
    for (int id = 0; id < index.size(); ++id) widest = std::max(widest, fm.horizontalAdvance(Citations::text(index.entry(id).text)));
    // And beside it the start of the place, enough to tell the archive.
    return widest + Gap + QFontMetrics(font).horizontalAdvance(QStringLiteral("Professionisti \u2013 36) …")) + 2 * Padding;
}
