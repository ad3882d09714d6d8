#pragma once

#include "framework/PageContract.h"

#include <QWidget>

class PropertyGrid;
class QShowEvent;
class VValues;

// The all-properties page: every declaration of the rule as a row of name and
// value, whatever the property. Rows are added in the empty row at the end and
// dropped by clearing their name or value.
class VvsEdit : public QWidget, public IPage
{
    Q_OBJECT

public:
    explicit VvsEdit(QWidget *parent = nullptr);

    bool Init(VValues &values) override;
    bool Update() override;
    void ReShow() override;
    QString ErrString() const override;

    PropertyGrid *grid() const { return m_grid; }

protected:
    // The page opens ready for typing into its current cell.
    void showEvent(QShowEvent *event) override;

private:
    void showRows();
    void storeRows();
    QString breakingRow() const;

    PropertyGrid *m_grid;
    VValues *m_values = nullptr;
    QString m_error; // why the last Update refused
};
