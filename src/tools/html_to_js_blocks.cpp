#include "tools/html_to_js_blocks.h"

#include "tools/html_to_js_kernels.h"

#include <QStringList>

namespace quill::blocks {

const QList<const Implementation *> &implementations()
{
    static const QList<const Implementation *> all
    {
#if defined(__x86_64__)
        &avx512, &avx2, &ssse3,
#endif
            &portable,
    };
    return all;
}

namespace {

QList<const Implementation *> runnable(const QList<const Implementation *> &candidates)
{
    QList<const Implementation *> found;
    for (const Implementation *implementation : candidates) {
        if (implementation->supported())
            found << implementation;
    }
    return found;
}

} // namespace

QList<const Implementation *> supportedImplementations()
{
    return runnable(implementations());
}

Choice chooseImplementation(const QByteArray &requested,
                            const QList<const Implementation *> &candidates)
{
    const Implementation *const best = runnable(candidates).constFirst();
    if (requested.isEmpty())
        return {best, QString()};
    const QString asked = QLatin1String(ImplementationVariable) + QLatin1Char('=') +
                          QString::fromLocal8Bit(requested);
    const QString instead =
        QStringLiteral("; converting with %1 instead.").arg(QLatin1String(best->name));
    QStringList names;
    for (const Implementation *implementation : candidates) {
        if (requested == implementation->name)
            return implementation->supported()
                       ? Choice{implementation, QString()}
                       : Choice{best,
                                asked + QStringLiteral(": this processor cannot run it") + instead};
        names << QLatin1String(implementation->name);
    }
    return {best,
            asked + QStringLiteral(" is none of ") + names.join(QStringLiteral(", ")) + instead};
}

const Choice &chosenImplementation()
{
    static const Choice choice = chooseImplementation(qgetenv(ImplementationVariable));
    return choice;
}

} // namespace quill::blocks
