// The member-list readers as a plugin of the program's own: the libraries
// they need (libcsv, QuaZip) are loaded with it at the first import, not at
// every start.

#include "import/memberlistfile.h"
#include "import/memberlistreaders.h"

#include <QObject>

namespace zor {

class MemberListPlugin : public QObject, public MemberListReaders
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZOR_MEMBER_LIST_READERS_IID)
    Q_INTERFACES(zor::MemberListReaders)

public:
    Result<MemberBook> readMemberListFile(const QString &path,
                                          const ProgressHook &progress) const override
    {
        return zor::readMemberListFile(path, progress);
    }
};

} // namespace zor

#include "memberlistplugin.moc"
