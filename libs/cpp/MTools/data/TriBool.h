#pragma once

// A flag that can also be unset: 0 false, 1 true, 1000 unset (any other
// value counts as false).
class TriBool
{
public:
    static constexpr int kUnset = 1000;

    TriBool(int value);
    TriBool(bool value);
    TriBool(const TriBool& other);

    TriBool& operator=(const TriBool& other);
    TriBool& operator=(bool value);
    bool operator==(const TriBool& other) const;
    bool operator!=(const TriBool& other) const;

    // Whether the flag is true. When it is unset, *ok (if given) becomes
    // false; otherwise *ok is left as it was.
    bool toBool(bool* ok = nullptr) const;

private:
    int m_nValue;
};
