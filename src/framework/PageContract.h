#pragma once

#include <QString>

class VValues;

// What the page host asks of every property page.
class IPage
{
public:
    virtual ~IPage() = default;

    // Called once after creation; the page keeps the list for its whole life.
    virtual bool Init(VValues &values) = 0;
    // Writes the controls into the values; false refuses (see ErrString).
    virtual bool Update() = 0;
    // Refills the controls from the values.
    virtual void ReShow() = 0;
    // Why Init or Update failed.
    virtual QString ErrString() const = 0;
};
