#pragma once

#include <iosfwd>

// The maker's own byte string: an owned buffer of any bytes (NUL included, no
// terminator stored unless terminate() or cString() adds one behind the
// content), with comparison, search, ASCII case folding and file load/save as
// virtual operations. It knows nothing of Qt.
//
// Every string takes as its instance id the number of strings alive when it
// was built (a process-wide counter, not a serial: ids repeat once strings are
// gone). Comparison orders bytes as signed 8-bit values, so 0x80..0xFF sort
// below 0x00..0x7F. File operations throw a plain const char* message:
// "can not open the file" or "can not create the file"; the string is left as
// it was when a load fails.
//
// at() does not check its index: 0 <= i < length() is the caller's to keep.
class MString
{
public:
    // A null pointer counts as the empty text.
    MString(const char* text);
    MString(const MString& other);
    MString& operator=(const MString& other) { return assign(other); }

    // The virtual operations, in the order the maker's other code knows them.
    virtual int* instanceCounter() const;
    virtual ~MString();
    virtual MString& appendInPlace(const MString& other);
    virtual MString concat(const MString& other) const;
    virtual char* at(const int& i);
    virtual const char* at(const int& i) const;
    virtual bool isEqual(const MString& other) const;
    virtual bool isNotEqual(const MString& other) const;
    virtual bool isGreater(const MString& other) const;
    virtual bool isLess(const MString& other) const;
    virtual bool isGreaterOrEqual(const MString& other) const;
    virtual bool isLessOrEqual(const MString& other) const;
    // Every byte, each NUL written as a blank.
    virtual void printReadable(std::ostream& out) const;
    virtual bool isEmpty() const;
    // Bytes from..to-1; the range is clipped to the string, and to below from
    // gives the empty string.
    virtual MString mid(const int& from, const int& to) const;
    virtual MString& assignCString(const char* text);
    virtual MString& assign(const MString& other);
    virtual MString& append(const MString& other);
    virtual MString& appendString(const MString& other);
    virtual MString& reverse();
    virtual bool equals(const MString& other) const;
    // Reallocates with one byte 0 behind the content; length() is unchanged.
    virtual MString& terminate();
    virtual MString& toUpperAscii();
    virtual MString& toLowerAscii();
    virtual char* data();
    virtual const char* data() const;
    // Writes every byte to the path; throws "can not create the file" when it
    // cannot be created or the bytes do not all reach the disk.
    virtual MString& saveToFile(const char* path);
    // Terminates the path string (it is changed), then saves to it.
    virtual MString& saveToFile(MString& path);
    // The bytes up to the first NUL.
    virtual MString& writeTo(std::ostream& out);
    // The whole file; throws "can not open the file" when it cannot be read or
    // is 2 GiB or larger.
    virtual MString& loadFromFile(const char* path);
    // Terminates the path string (it is changed), then loads from it.
    virtual MString& loadFromFile(MString& path);
    // count bytes from offset; bytes the file does not supply are 0. Throws
    // "can not open the file" when the path cannot be read or offset or count
    // is negative.
    virtual MString& loadRange(const char* path, const int& offset, const int& count);
    // The buffer, terminated.
    virtual char* cString();
    // Index of the first occurrence of pattern starting at or after from; -1
    // when there is none or from is not below the length.
    virtual int find(const MString& pattern, const unsigned& from) const;
    virtual unsigned length() const;
    virtual MString classUuid() const;
    // classUuid() followed by the instance id in decimal.
    virtual MString objectId() const;
    virtual MString className() const;
    virtual int instanceCount() const;

protected:
    // An empty string; the subclass's constructors fill it.
    MString();
    // Replaces the content by size bytes from bytes (which may be this
    // string's own buffer).
    void setBytes(const char* bytes, unsigned size);
    // Replaces the content by size bytes 0.
    void setZeroBytes(unsigned size);

private:
    int compare(const MString& other) const;

    int m_nInstanceId;
    char* m_pBuffer;
    unsigned m_nLength;
};
