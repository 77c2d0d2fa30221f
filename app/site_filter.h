#pragma once
// The sites the find box lets through: those whose name, user name, URL or
// notes hold the typed text, letter case and accents ignored. It only hides
// rows; the rows, their order and their records stay the model's.

#include <QSortFilterProxyModel>
#include <string>

class TSiteListModel;

class TSiteFilter : public QSortFilterProxyModel {
  Q_OBJECT
 public:
  TSiteFilter(TSiteListModel* sites, QObject* parent);

  // Shows only the sites that hold query; an empty query shows every site.
  void SetQuery(const QString& query);

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  TSiteListModel* sites_;
  std::string foldedQuery_;
};
