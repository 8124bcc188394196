#include "batch/ListQuery.h"

#include "batch/PdfPrinting.h"

#include <QFileInfo>

#include "store/ContactsFile.h"

namespace tandor::batch {

bool takeListQuery(QStringList& args, ListQuery& query, Context& context) {
    // --search takes two values (the field and the text, which may be empty or
    // begin with a dash), so it is taken before the other options.
    const qsizetype at = args.indexOf(QStringLiteral("--search"));
    if (at >= 0) {
        if (at + 2 >= args.size()) {
            context.err << "--search needs a field and a text\n";
            return false;
        }
        const std::optional<SearchField> field = searchFieldNamed(args[at + 1]);
        if (!field) {
            context.err
                << "--search field must be first, last, city, state, zip, email, category or "
                   "company\n";
            return false;
        }
        query.field = *field;
        query.text = args[at + 2];
        args.remove(at, 3);
    }
    const qsizetype sortAt = args.indexOf(QStringLiteral("--sort"));
    if (sortAt >= 0) {
        const QString sort = sortAt + 1 < args.size() ? args[sortAt + 1] : QString();
        if (sort == QLatin1String("first")) {
            query.order = SortOrder::FirstName;
        } else if (sort == QLatin1String("last")) {
            query.order = SortOrder::LastName;
        } else {
            context.err << "--sort must be first or last\n";
            return false;
        }
        args.remove(sortAt, 2);
    }
    return true;
}

bool takeListFile(const QStringList& positional, ListQuery& query, Context& context) {
    if (positional.size() != 1) {
        context.err << "one contacts file FILE.DAT is needed\n";
        return false;
    }
    query.path = positional[0];
    return true;
}

bool loadList(const ListQuery& query, ContactsFile& file, FoundContacts& found, Context& context) {
    if (!QFileInfo(query.path).isFile()) {
        context.err << "There is no contacts file " << query.path << ".\n";
        return false;
    }
    file.openForReading(query.path);
    found = findContacts(file, query.field, query.text, query.order);
    return true;
}

int readListCommand(const QStringList& args, Context& context, PdfOptions* pdf, ListQuery& query,
                    ContactsFile& file, FoundContacts& found) {
    QStringList rest = args;
    if (!takeListQuery(rest, query, context)) {
        return kFailure;
    }
    Arguments arguments(rest);
    if (pdf != nullptr) {
        if (const int code = takePdfOptions(arguments, *pdf, context); code != kOk) {
            return code;
        }
    }
    const QStringList positional = arguments.positional();
    if (!arguments.error().isEmpty()) {
        context.err << arguments.error() << "\n";
        return kFailure;
    }
    if (!takeListFile(positional, query, context)) {
        return kFailure;
    }
    return loadList(query, file, found, context) ? kOk : kRefused;
}

}  // namespace tandor::batch
