// Downloads waiting to replace their targets and files waiting to be
// deleted, in the order recorded.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// A downloaded file waiting to replace its target (deferred mode); an empty
// temp: the target is to be deleted.
struct PendingReplace
{
    char target[256];
    char temp[256];
};

inline bool IsDeletion(const PendingReplace& record) { return record.temp[0] == 0; }

// Holds one record per target, found by a hash of its full path, so recording
// stays cheap for any number of files.
class PendingSwaps
{
public:
    using Records = std::vector<std::unique_ptr<PendingReplace>>;

    // Records that temp is to replace target, or with an empty temp that
    // target is to be deleted. A target recorded before (letter case and "/"
    // against "\" do not count) keeps its place and takes the new temp, so
    // the later record wins: a second record would take the first download
    // for the old copy. Gives the superseded temp path, or an empty text.
    // Paths must fit a record.
    std::string Add(const char* target, const char* temp);
    // True when the last record for target is a deletion.
    bool WillDelete(const char* target) const;
    Records::const_iterator begin() const { return m_records.begin(); }
    Records::const_iterator end() const { return m_records.end(); }
    bool Empty() const { return m_records.empty(); }
    void Clear();

private:
    Records m_records;
    std::unordered_map<std::wstring, size_t> m_index;  // full upper-case target -> record
};
