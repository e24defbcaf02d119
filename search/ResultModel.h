#pragma once
#include "SearchIndex.h"
#include <QAbstractListModel>
#include <QHash>
#include <QStyledItemDelegate>

// The hits of a search as rows of the results list. Each row's text (the place of the maxim, its
// citation and about two lines around the words found) is made when the row is first drawn, so that a
// search that finds two thousand maxims costs no more to show than one that finds ten.
class ResultModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { HeadRole = Qt::UserRole + 1, HtmlRole, EntryRole, RelatedRole, PlaceRole, CitationRole };
    // The words of the heading over the maxims found only through related forms.
    static QString relatedHeading();
    explicit ResultModel(QObject* parent = nullptr);
    void setResult(SearchIndex* index, const SearchIndex::Result& result);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    int entryAt(int row) const;

private:
    QString html(int row) const;
    SearchIndex* index_ = nullptr;
    std::vector<SearchIndex::Hit> hits_;
    ParsedQuery query_;
    mutable QHash<int, QString> html_;
};

// Draws a row: on the first line the place of the maxim and, at the right, its citation, which the
// place gives way to; under them two lines of the excerpt with the words found in bold.
class ResultDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The first line of a row `width` pixels wide: each text as it is drawn and its place on the line.
    struct Heading {
        QString placeText;
        QRect place;
        QString citationText;
        QRect citation;
    };
    static Heading heading(const QFont& font, int width, const QString& place, const QString& citation);
    // The width a row needs to show the longest citation of the index whole, and beside it the start of
    // the place, in the list's font.
    static int widthForCitations(const SearchIndex& index, const QFont& font);
};
