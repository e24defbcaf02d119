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
    enum Role { HeadRole = Qt::UserRole + 1, HtmlRole, EntryRole, RelatedRole };
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

// Draws a row: the place and citation on the first line, cut to the width, and under it two lines of
// the excerpt with the words found in bold.
class ResultDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
