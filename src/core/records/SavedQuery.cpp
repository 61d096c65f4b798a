#include "SavedQuery.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QTime>

#include "DatabaseQuery.h"

namespace pemo {

namespace {

// What the rows of a query say, by the number Access gives it.
enum Attribute {
    Start = 0,
    Kind = 1,
    Parameter = 2,
    Predicate = 3,
    Table = 5,
    OutputColumn = 6,
    Join = 7,
    Where = 8,
    GroupBy = 9,
    Having = 10,
    OrderBy = 11,
    End = 255,
};
constexpr int kSelectQuery = 1;
// Flags of the predicate row. TOP keeps the rows tied with the last one, which LIMIT does not.
constexpr int kAllColumns = 0x01, kDistinct = 0x02, kOwnerAccess = 0x04, kDistinctRow = 0x08;

// Access functions SQLite has with the same meaning, by Access's name in capitals.
const QHash<QString, QString>& sameFunctions() {
    static const QHash<QString, QString> names{
        {QStringLiteral("IIF"), QStringLiteral("iif")},     {QStringLiteral("NZ"), QStringLiteral("ifnull")},
        {QStringLiteral("LEN"), QStringLiteral("length")},  {QStringLiteral("UCASE"), QStringLiteral("upper")},
        {QStringLiteral("LCASE"), QStringLiteral("lower")}, {QStringLiteral("TRIM"), QStringLiteral("trim")},
        {QStringLiteral("LTRIM"), QStringLiteral("ltrim")}, {QStringLiteral("RTRIM"), QStringLiteral("rtrim")},
        {QStringLiteral("ABS"), QStringLiteral("abs")},
    };
    return names;
}

// Words both read alike.
const QStringList& sameWords() {
    static const QStringList words{QStringLiteral("AND"), QStringLiteral("OR"),   QStringLiteral("NOT"),
                                   QStringLiteral("IS"),  QStringLiteral("NULL"), QStringLiteral("LIKE"),
                                   QStringLiteral("IN"),  QStringLiteral("BETWEEN")};
    return words;
}

bool isWordCharacter(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() >= 0x80; }

QString sqlString(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

// A date literal's text ("12/31/2026", "12/31/2026 14:30:00") as the import writes dates
// ("2026-12-31", "2026-12-31 14:30:00"); empty when it is not one.
QString dateText(const QString& literal) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    const QRegularExpressionMatch m = form.match(literal);
    if (!m.hasMatch()) return QString();
    const QDate date(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid()) return QString();
    QString out = date.toString(QStringLiteral("yyyy-MM-dd"));
    if (time != QTime(0, 0)) out += time.toString(QStringLiteral(" HH:mm:ss"));
    return out;
}

// A text pattern of Like with SQLite's wildcards; empty when it holds what SQLite's LIKE
// cannot say (character lists, digits "#", or "%" and "_", which SQLite would take as
// wildcards).
std::optional<QString> likePattern(const QString& pattern) {
    QString out;
    for (QChar c : pattern) {
        if (c == QLatin1Char('*')) {
            out += QLatin1Char('%');
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('_');
        } else if (c == QLatin1Char('[') || c == QLatin1Char('#') || c == QLatin1Char('%') || c == QLatin1Char('_')) {
            return std::nullopt;
        } else {
            out += c;
        }
    }
    return out;
}

// "[a].[b]", "a.b", "[b]" or "b": the table reference and the column; nullopt otherwise.
std::optional<SavedQuery::Column> columnReference(const QString& expression) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*(?:(\\[[^\\]]+\\]|[^\\s\\[\\].()]+)\\.)?(\\[[^\\]]+\\]|[^\\s\\[\\].()]+)\\s*$"));
    const QRegularExpressionMatch m = form.match(expression);
    if (!m.hasMatch()) return std::nullopt;
    const auto bare = [](QString name) {
        return name.startsWith(QLatin1Char('[')) ? name.mid(1, name.size() - 2) : name;
    };
    SavedQuery::Column column;
    column.tableReference = bare(m.captured(1));
    column.column = bare(m.captured(2));
    for (QChar c : column.column) {
        if (!isWordCharacter(c) && !m.captured(2).startsWith(QLatin1Char('['))) return std::nullopt;
    }
    return column;
}

QString source(const SavedQuery::Source& s) {
    QString out = DatabaseQuery::quoted(s.table);
    if (!s.alias.isEmpty()) out += QStringLiteral(" AS ") + DatabaseQuery::quoted(s.alias);
    return out;
}

}  // namespace

std::optional<QString> SavedQuery::expression(const QString& access) { return translate(access, nullptr); }

std::optional<QString> SavedQuery::translate(const QString& access, QStringList* names) {
    QString out;
    // What came before, for a "-" (negation after an operator, else a subtraction) and for
    // Like (a text pattern must follow it).
    enum class Before { Start, Operator, Operand, Like } before = Before::Start;
    // For each open bracket: whether it opened a function's arguments.
    std::vector<bool> calls;
    qsizetype i = 0;
    const qsizetype n = access.size();
    const auto next = [&](qsizetype from) {
        while (from < n && access.at(from).isSpace()) ++from;
        return from < n ? access.at(from) : QChar();
    };
    const auto previous = [&](qsizetype from) {
        while (from > 0 && access.at(from - 1).isSpace()) --from;
        return from > 0 ? access.at(from - 1) : QChar();
    };
    // A name of a column or table: kept, and listed when nothing qualifies it ("T.name").
    const auto name = [&](const QString& text, const QString& bare, qsizetype from, qsizetype to) {
        out += text;
        if (names && previous(from) != QLatin1Char('.') && next(to) != QLatin1Char('.')) *names << bare;
        before = Before::Operand;
    };
    while (i < n) {
        const QChar c = access.at(i);
        if (c.isSpace()) {
            out += c;
            ++i;
            continue;
        }
        const bool like = before == Before::Like;
        if (like && c != QLatin1Char('"') && c != QLatin1Char('\'')) return std::nullopt;
        if (c == QLatin1Char('[')) {
            const qsizetype end = access.indexOf(QLatin1Char(']'), i);
            if (end < 0) return std::nullopt;
            name(access.mid(i, end - i + 1), access.mid(i + 1, end - i - 1), i, end + 1);
            i = end + 1;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            QString text;
            qsizetype j = i + 1;
            for (;; ++j) {
                if (j >= n) return std::nullopt;
                if (access.at(j) == c) {
                    if (j + 1 < n && access.at(j + 1) == c) {
                        text += c;
                        ++j;
                        continue;
                    }
                    break;
                }
                text += access.at(j);
            }
            if (like) {
                const std::optional<QString> pattern = likePattern(text);
                if (!pattern) return std::nullopt;
                text = *pattern;
            }
            out += sqlString(text);
            before = Before::Operand;
            i = j + 1;
        } else if (c == QLatin1Char('#')) {
            const qsizetype end = access.indexOf(QLatin1Char('#'), i + 1);
            if (end < 0) return std::nullopt;
            const QString date = dateText(access.mid(i + 1, end - i - 1));
            if (date.isEmpty()) return std::nullopt;
            out += sqlString(date);
            before = Before::Operand;
            i = end + 1;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && access.at(i + 1).isDigit())) {
            qsizetype j = i;
            while (j < n && (access.at(j).isDigit() || access.at(j) == QLatin1Char('.'))) ++j;
            out += access.mid(i, j - i);
            before = Before::Operand;
            i = j;
        } else if (isWordCharacter(c)) {
            qsizetype j = i;
            while (j < n && isWordCharacter(access.at(j))) ++j;
            const QString word = access.mid(i, j - i);
            const QString upper = word.toUpper();
            if (sameWords().contains(upper)) {
                out += upper;
                before = upper == QLatin1String("LIKE") ? Before::Like
                         : upper == QLatin1String("NULL") ? Before::Operand
                                                          : Before::Operator;
            } else if (next(j) == QLatin1Char('(')) {
                const auto same = sameFunctions().constFind(upper);
                if (same == sameFunctions().constEnd()) return std::nullopt;
                out += *same;
                while (j < n && access.at(j).isSpace()) ++j;
                out += QLatin1Char('(');
                calls.push_back(true);
                before = Before::Start;
                ++j;
            } else if (upper == QLatin1String("TRUE") || upper == QLatin1String("FALSE") ||
                       upper == QLatin1String("MOD") || upper == QLatin1String("XOR") ||
                       upper == QLatin1String("EQV") || upper == QLatin1String("IMP")) {
                // True is -1 in Access; Mod binds more loosely than in SQLite.
                return std::nullopt;
            } else {
                name(word, word, i, j);
            }
            i = j;
        } else if (c == QLatin1Char('(')) {
            out += c;
            calls.push_back(false);
            before = Before::Start;
            ++i;
        } else if (c == QLatin1Char(')')) {
            if (calls.empty()) return std::nullopt;
            // A function's result compares as the columns do, without regard to case.
            out += calls.back() ? QStringLiteral(") COLLATE NOCASE") : QStringLiteral(")");
            calls.pop_back();
            before = Before::Operand;
            ++i;
        } else if (c == QLatin1Char('/') && next(i + 1) != QLatin1Char('*')) {
            // Access divides whole numbers without cutting the remainder.
            out += QStringLiteral("*1.0/");
            before = Before::Operator;
            ++i;
        } else if (c == QLatin1Char('-') && before != Before::Operand && next(i + 1) != QLatin1Char('-')) {
            // A negation. A subtraction is refused: Access subtracts dates and SQLite cannot.
            out += c;
            before = Before::Operator;
            ++i;
        } else if (QStringLiteral("=<>*,.").contains(c)) {
            out += c;
            before = Before::Operator;
            ++i;
        } else {
            // "+" (joins texts and adds days in Access), a subtraction, comments, "&" (NULL and
            // precedence differ), "\\", "^", "!" (form references), ";", "?" …
            return std::nullopt;
        }
    }
    if (!calls.empty() || before == Before::Like) return std::nullopt;
    return out;
}

std::optional<SavedQuery> SavedQuery::fromRows(const std::vector<SavedQueryRow>& rows) {
    SavedQuery query;
    // Plain select queries of older files have no row of their kind.
    bool select = true;
    int predicate = 0;
    struct JoinRow {
        QString left, right, on;
        int type = 0;
    };
    std::vector<JoinRow> joins;
    QStringList outputs, groups, orders;
    QString where, having;
    // The column names that sorting, grouping and their condition name unqualified: SQLite
    // would take an output column of that name where Access takes the table's.
    QStringList sortingNames;
    int computed = 0;
    for (const SavedQueryRow& row : rows) {
        switch (row.attribute) {
        case Start:
        case End:
            break;
        case Kind:
            select = row.flag == kSelectQuery;
            break;
        case Predicate:
            predicate = row.flag;
            break;
        case Table:
            // An expression here names another database (or is a part of a union).
            if (row.name1.isEmpty() || !row.expression.isEmpty()) return std::nullopt;
            query.sources_.push_back({row.name1, row.name2});
            break;
        case OutputColumn: {
            const std::optional<QString> sql = expression(row.expression);
            if (!sql || sql->trimmed().isEmpty()) return std::nullopt;
            Column column;
            if (const std::optional<Column> plain = columnReference(row.expression)) column = *plain;
            column.name = !row.name1.isEmpty()      ? row.name1
                          : !column.column.isEmpty() ? column.column
                                                     : QStringLiteral("Expr%1").arg(1000 + computed++);
            outputs << *sql;
            query.columns_.push_back(column);
            break;
        }
        case Join: {
            const std::optional<QString> on = expression(row.expression);
            if (!on || row.flag < 1 || row.flag > 3) return std::nullopt;
            joins.push_back({row.name1, row.name2, *on, row.flag});
            break;
        }
        case Where: {
            const std::optional<QString> sql = expression(row.expression);
            if (!sql) return std::nullopt;
            where = *sql;
            break;
        }
        case GroupBy:
        case Having:
        case OrderBy: {
            const std::optional<QString> sql = translate(row.expression, &sortingNames);
            if (!sql) return std::nullopt;
            if (row.attribute == GroupBy) {
                groups << *sql;
            } else if (row.attribute == Having) {
                having = *sql;
            } else {
                orders << *sql + (row.name1.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0
                                      ? QStringLiteral(" DESC") : QString());
            }
            break;
        }
        default:
            // Parameters, an outside database and whatever else Access may keep.
            return std::nullopt;
        }
    }
    if (!select || query.sources_.empty()) return std::nullopt;
    if ((predicate & ~(kAllColumns | kDistinct | kOwnerAccess | kDistinctRow)) ||
        ((predicate & kDistinctRow) && query.sources_.size() > 1)) {
        return std::nullopt;
    }
    if (predicate & kAllColumns) {
        if (!outputs.isEmpty()) return std::nullopt;
    } else if (outputs.isEmpty()) {
        return std::nullopt;
    }

    // Two columns of one name are called after their tables, as Access calls them.
    const auto taken = [&](const QString& name, size_t except) {
        for (size_t k = 0; k < query.columns_.size(); ++k) {
            if (k != except && query.columns_[k].name.compare(name, Qt::CaseInsensitive) == 0) return true;
        }
        return false;
    };
    std::vector<bool> clashes(query.columns_.size());
    for (size_t k = 0; k < query.columns_.size(); ++k) clashes[k] = taken(query.columns_[k].name, k);
    for (size_t k = 0; k < query.columns_.size(); ++k) {
        Column& column = query.columns_[k];
        if (!clashes[k]) continue;
        const QString reference = !column.tableReference.isEmpty() ? column.tableReference
                                  : query.sources_.size() == 1     ? query.sources_.front().reference()
                                                                   : QString();
        if (column.column.isEmpty() || reference.isEmpty()) return std::nullopt;
        column.name = reference + QLatin1Char('.') + column.column;
    }
    for (size_t k = 0; k < query.columns_.size(); ++k) {
        const Column& column = query.columns_[k];
        if (taken(column.name, k)) return std::nullopt;
        const QString name = DatabaseQuery::quoted(column.name);
        if (name.isEmpty()) return std::nullopt;
        outputs[qsizetype(k)] += QStringLiteral(" AS ") + name;
        // An output column that is not the table's column of its name hides that column
        // from sorting and grouping in SQLite, not in Access.
        const bool same = column.column.compare(column.name, Qt::CaseInsensitive) == 0;
        if (!same && sortingNames.contains(column.name, Qt::CaseInsensitive)) return std::nullopt;
    }

    // The tables in the order of their joins, the others after them.
    const auto sourceOf = [&](const QString& reference) -> const Source* {
        for (const Source& s : query.sources_) {
            if (s.reference() == reference) return &s;
        }
        return nullptr;
    };
    QStringList placed;
    QString from;
    for (const JoinRow& join : joins) {
        const Source* left = sourceOf(join.left);
        const Source* right = sourceOf(join.right);
        if (!left || !right || placed.contains(join.right)) return std::nullopt;
        if (!placed.contains(join.left)) {
            from += (from.isEmpty() ? QString() : QStringLiteral(", ")) + source(*left);
            placed << join.left;
        }
        static const char* const kinds[] = {"", " INNER JOIN ", " LEFT JOIN ", " RIGHT JOIN "};
        from += QLatin1String(kinds[join.type]) + source(*right) + QStringLiteral(" ON (") + join.on + QLatin1Char(')');
        placed << join.right;
    }
    for (const Source& s : query.sources_) {
        if (s.table.isEmpty() || DatabaseQuery::quoted(s.table).isEmpty()) return std::nullopt;
        if (!s.alias.isEmpty() && DatabaseQuery::quoted(s.alias).isEmpty()) return std::nullopt;
        if (placed.contains(s.reference())) continue;
        from += (from.isEmpty() ? QString() : QStringLiteral(", ")) + source(s);
        placed << s.reference();
    }
    // The tables in the order the statement names them, which "SELECT *" keeps.
    std::vector<Source> ordered;
    for (const QString& reference : placed) ordered.push_back(*sourceOf(reference));
    query.sources_ = std::move(ordered);

    QString& sql = query.statement_;
    sql = QStringLiteral("SELECT ") + ((predicate & kDistinct) ? QStringLiteral("DISTINCT ") : QString()) +
          (outputs.isEmpty() ? QStringLiteral("*") : outputs.join(QStringLiteral(", "))) + QStringLiteral(" FROM ") + from;
    if (!where.trimmed().isEmpty()) sql += QStringLiteral(" WHERE ") + where;
    if (!groups.isEmpty()) sql += QStringLiteral(" GROUP BY ") + groups.join(QStringLiteral(", "));
    if (!having.trimmed().isEmpty()) sql += QStringLiteral(" HAVING ") + having;
    if (!orders.isEmpty()) sql += QStringLiteral(" ORDER BY ") + orders.join(QStringLiteral(", "));
    return query;
}

}  // namespace pemo
