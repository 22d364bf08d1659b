#pragma once

#include "import/membertable.h"

#include <QtPlugin>

namespace zor {

// What the member-list readers' plugin offers the program: reading a member
// list file as readMemberListFile does. The plugin and the program come from
// the same build; the interface's name carries the version, so a plugin left
// from another version is refused rather than called.
class MemberListReaders
{
public:
    virtual ~MemberListReaders() = default;
    virtual Result<MemberBook> readMemberListFile(const QString &path,
                                                  const ProgressHook &progress) const = 0;
};

} // namespace zor

#define ZOR_MEMBER_LIST_READERS_IID "de.kelvarbund.zor-quorvane.MemberListReaders/" ZOR_VERSION
Q_DECLARE_INTERFACE(zor::MemberListReaders, ZOR_MEMBER_LIST_READERS_IID)
