#include "tlzr.h"
#include "tlzrw1.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <random>
#include <sys/resource.h>

class TestLzrw1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compressWritesTheExactContainer_data();
    void compressWritesTheExactContainer();
    void incompressibleChunksAreStoredOneByteLonger();
    void overlappingCopyRepeatsTheLastByte();
    void malformedFilesEndInAnErrorAndAnEmptyOutput_data();
    void malformedFilesEndInAnErrorAndAnEmptyOutput();
    void sizeLimitRefusesTheHeaderBeforeDecoding();
    void missingInputIsReportedByName();
    void codingAFileOntoItselfIsRefused();
    void failedCompressionDeletesItsOutput();
    void failedWriteToDeviceIsReported();
    void roundTripRestoresEveryInput_data();
    void roundTripRestoresEveryInput();

private:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
};

namespace {

QByteArray container(quint32 size, const QByteArray &blocks)
{
    QByteArray out("WRZL");
    for (int i = 0; i < 4; ++i)
        out.append(char(size >> (8 * i)));
    return out + blocks;
}

QByteArray block(const QByteArray &body)
{
    QByteArray out;
    out.append(char(body.size() & 0xFF));
    out.append(char(body.size() >> 8));
    return out + body;
}

const QByteArray emptyBlock = QByteArray::fromHex("010080");

bool writeFile(const QString &name, const QByteArray &data)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray out(size, Qt::Uninitialized);
    for (char &c : out)
        c = char(rng());
    return out;
}

QByteArray englishText(qsizetype size, unsigned seed)
{
    static const char *const words[] = {"the", "of", "and", "a", "to", "in", "is", "you", "that", "it", "he",
        "was", "for", "on", "are", "as", "with", "his", "they", "board", "word", "tiles", "round", "letters",
        "player", "score", "chain", "neighbouring", "quickly", "wonderful", "between", "through"};
    std::mt19937 rng(seed);
    std::geometric_distribution<int> pick(0.15);
    QByteArray out;
    while (out.size() < size) {
        out.append(words[std::min<int>(pick(rng), std::size(words) - 1)]);
        out.append(rng() % 11 == 0 ? ". " : " ");
    }
    out.truncate(size);
    return out;
}

// Runs of random lengths (some beyond the longest run token) between random bytes.
QByteArray runs(qsizetype size, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray out;
    while (out.size() < size) {
        const int length = rng() % 4 == 0 ? int(rng() % 6000) : int(rng() % 40);
        out.append(QByteArray(length, char(rng() % 4)));
        out.append(char(rng()));
    }
    out.truncate(size);
    return out;
}

// Short repeats at every distance up to and just beyond the copy window.
QByteArray echoes(qsizetype size, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray out = randomBytes(64, seed);
    while (out.size() < size) {
        const int distance = 1 + int(rng() % 4200);
        const int length = 1 + int(rng() % 24);
        if (distance <= out.size()) {
            for (int i = 0; i < length; ++i)
                out.append(out.at(out.size() - distance));
        }
        out.append(char(rng()));
    }
    out.truncate(size);
    return out;
}

} // namespace

void TestLzrw1::compressWritesTheExactContainer_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty input is the header and one empty block")
        << QByteArray() << container(0, emptyBlock);
    QTest::newRow("a chunk too short to compress is stored")
        << QByteArray("abc") << container(3, block(QByteArray::fromHex("80616263")));
    QTest::newRow("exactly one chunk is followed by the empty block")
        << QByteArray(32768, '\0')
        << container(32768,
               block(QByteArray::fromHex("40ff40") + QByteArray::fromHex("000fef00").repeated(8)
                   + QByteArray::fromHex("000014"))
                   + emptyBlock);
    QTest::newRow("5000 equal bytes are runs of 4095 and 905")
        << QByteArray(5000, 'A') << container(5000, block(QByteArray::fromHex("40c000000fef4100037941")));
    QTest::newRow("a copy may overlap its own output") << QByteArray(
        15, 'x') << container(15, block(QByteArray::fromHex("404000") + "x" + QByteArray::fromHex("001b")));
    QTest::newRow("the seventeenth item starts a new command word")
        << QByteArray("abcdefghijklmnop").repeated(2)
        << container(32,
               block(QByteArray::fromHex("400000") + "abcdefghijklmnop" + QByteArray::fromHex("8000010d")));
    QTest::newRow("each lookup moves the table entry to the newest position")
        << QByteArray("abcdefXabcdefYabcdef")
        << container(20,
               block(QByteArray::fromHex("400140") + "abcdefX" + QByteArray::fromHex("0073") + "Y"
                   + QByteArray::fromHex("0073")));
    // "BFP" and "abc" share a hash entry, so the later "abc" finds "BFP" there.
    QTest::newRow("a colliding hash hides the earlier match")
        << QByteArray("abcdefgBFPabcdefg")
        << container(17, block(QByteArray::fromHex("400010") + "abcdefgBFPa" + QByteArray::fromHex("00a3")));
}

void TestLzrw1::compressWritesTheExactContainer()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QVERIFY(writeFile(path("in"), input));

    Tlzrw1 codec;
    QCOMPARE(codec.Compress(path("in"), path("packed")), expected.size());
    QCOMPARE(readFile(path("packed")), expected);

    QCOMPARE(codec.Decompress(path("packed"), path("out")), input.size());
    QCOMPARE(codec.error(), Tlzrw1::Error::None);
    QCOMPARE(readFile(path("out")), input);
}

void TestLzrw1::incompressibleChunksAreStoredOneByteLonger()
{
    const QByteArray input = randomBytes(40000, 1);
    QBuffer in, out;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    Tlzrw1 codec;
    QCOMPARE(codec.compressDevice(in, out), 8 + (2 + 32769) + (2 + 7233));
    const QByteArray packed = out.data();
    QCOMPARE(packed.left(8), container(40000, {}));
    QCOMPARE(packed.mid(8, 3), QByteArray::fromHex("018080"));
    QCOMPARE(packed.mid(11, 32768), input.left(32768));
    QCOMPARE(packed.mid(11 + 32768, 3), QByteArray::fromHex("411c80"));
    QCOMPARE(packed.mid(14 + 32768), input.mid(32768));
}

void TestLzrw1::overlappingCopyRepeatsTheLastByte()
{
    // A literal "x", then a copy from 1 byte back, 18 long.
    QVERIFY(writeFile(path("packed"),
        container(19, block(QByteArray::fromHex("404000") + "x" + QByteArray::fromHex("001f")))));
    Tlzrw1 codec;
    QCOMPARE(codec.Decompress(path("packed"), path("out")), 19);
    QCOMPARE(readFile(path("out")), QByteArray(19, 'x'));
}

void TestLzrw1::malformedFilesEndInAnErrorAndAnEmptyOutput_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Tlzrw1::Error>("error");

    const QByteArray literals16 = QByteArray::fromHex("400000") + QByteArray(16, 'a');
    QTest::newRow("neither signature")
        << QByteArray("LZRW\x05\0\0\0", 8) + block("\x80hello") << Tlzrw1::Error::Header;
    QTest::newRow("shorter than a signature") << QByteArray("WR") << Tlzrw1::Error::Header;
    QTest::newRow("the LZH signature") << QByteArray("!HZL\0\0\0\0", 8) << Tlzrw1::Error::Unsupported;
    QTest::newRow("header without a size") << QByteArray("WRZL\0\0", 6) << Tlzrw1::Error::Read;
    QTest::newRow("no block at all") << container(0, {}) << Tlzrw1::Error::Read;
    QTest::newRow("block length beyond the end of the file")
        << container(5, QByteArray::fromHex("6400") + "\x80hello") << Tlzrw1::Error::Read;
    QTest::newRow("block length beyond any chunk")
        << container(5, QByteArray::fromHex("ffff") + QByteArray(65535, '\x80')) << Tlzrw1::Error::Corrupt;
    QTest::newRow("stored block longer than a chunk")
        << container(32769, block("\x80" + QByteArray(32769, 'z'))) << Tlzrw1::Error::Corrupt;
    QTest::newRow("runs beyond a chunk") << container(
        36855, block(QByteArray::fromHex("40ff80") + QByteArray::fromHex("000fef00").repeated(9)))
                                         << Tlzrw1::Error::Corrupt;
    QTest::newRow("copy reaching before the start")
        << container(18, block(QByteArray::fromHex("408000001f"))) << Tlzrw1::Error::Corrupt;
    QTest::newRow("copy reaching one byte too far back")
        << container(6, block(QByteArray::fromHex("402000") + "ab" + QByteArray::fromHex("0030")))
        << Tlzrw1::Error::Corrupt;
    QTest::newRow("truncated command word")
        << container(17, block(literals16 + '\0')) << Tlzrw1::Error::Corrupt;
    QTest::newRow("command word without items")
        << container(16, block(literals16 + QByteArray(2, '\0'))) << Tlzrw1::Error::Corrupt;
    QTest::newRow("truncated copy token")
        << container(4, block(QByteArray::fromHex("4040006101"))) << Tlzrw1::Error::Corrupt;
    QTest::newRow("truncated run token")
        << container(20, block(QByteArray::fromHex("4080000001"))) << Tlzrw1::Error::Corrupt;
    QTest::newRow("unknown block flag")
        << container(2, block(QByteArray::fromHex("4100006162"))) << Tlzrw1::Error::Corrupt;
    QTest::newRow("header size larger than the data")
        << container(6, block("\x80hello")) << Tlzrw1::Error::SizeMismatch;
    QTest::newRow("header size smaller than the data")
        << container(4, block("\x80hello")) << Tlzrw1::Error::SizeMismatch;
    QTest::newRow("full chunk without its last block")
        << container(32768, block("\x80" + QByteArray(32768, 'q'))) << Tlzrw1::Error::Read;
}

void TestLzrw1::malformedFilesEndInAnErrorAndAnEmptyOutput()
{
    QFETCH(QByteArray, file);
    QFETCH(Tlzrw1::Error, error);
    QVERIFY(writeFile(path("bad.tld"), file));
    QVERIFY(writeFile(path("out"), "left over from before"));

    Tlzrw1 codec;
    QCOMPARE(codec.Decompress(path("bad.tld"), path("out")), -1);
    QCOMPARE(codec.error(), error);
    QVERIFY(QFile::exists(path("out")));
    QCOMPARE(QFileInfo(path("out")).size(), 0);

    const QString sizes
        = QStringLiteral("Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");
    switch (error) {
    case Tlzrw1::Error::Header:
        QCOMPARE(codec.errorString(),
            path("bad.tld") + " : Lzrw1 decompression : this file has no valid header !");
        break;
    case Tlzrw1::Error::Read:
        QCOMPARE(codec.errorString(), "Lzrw1 : Error reading from input file : " + path("bad.tld"));
        break;
    case Tlzrw1::Error::SizeMismatch:
        QCOMPARE(codec.errorString(), sizes);
        break;
    default:
        QVERIFY(codec.errorString().startsWith(path("bad.tld") + " : Lzrw1 decompression : "));
    }
}

void TestLzrw1::sizeLimitRefusesTheHeaderBeforeDecoding()
{
    QVERIFY(writeFile(path("big.tld"),
        container(
            0xFFFFFFFF, block(QByteArray::fromHex("40ffff") + QByteArray::fromHex("000fef00").repeated(8)))));
    Tlzrw1 codec;
    codec.setSizeLimit(1 << 20);
    QCOMPARE(codec.Decompress(path("big.tld"), path("out")), -1);
    QCOMPARE(codec.error(), Tlzrw1::Error::TooLarge);
    QCOMPARE(QFileInfo(path("out")).size(), 0);
}

void TestLzrw1::missingInputIsReportedByName()
{
    Tlzrw1 codec;
    QCOMPARE(codec.Compress(path("nothing"), path("packed")), -1);
    QCOMPARE(codec.errorString(), "Lzrw1 compression : Failed to obtain the size of : " + path("nothing"));
    QCOMPARE(codec.Decompress(path("nothing"), path("out")), -1);
    QCOMPARE(codec.errorString(), "Lzrw1 (de)compression : Failed to open input file : " + path("nothing"));
    QVERIFY(writeFile(path("in"), "text"));
    QCOMPARE(codec.Compress(path("in"), path("no/such/folder/packed")), -1);
    QCOMPARE(codec.errorString(),
        "Lzrw1 (de)compression : Failed to open output file : " + path("no/such/folder/packed"));
}

void TestLzrw1::codingAFileOntoItselfIsRefused()
{
    const QByteArray packed = container(5, block("\x80hello"));
    QVERIFY(writeFile(path("self.tld"), packed));
    Tlzrw1 codec;
    QCOMPARE(codec.Decompress(path("self.tld"), path("self.tld")), -1);
    QCOMPARE(codec.error(), Tlzrw1::Error::OpenOutput);
    QCOMPARE(codec.Compress(path("self.tld"), dir.path() + "/./self.tld"), -1);
    QCOMPARE(codec.error(), Tlzrw1::Error::OpenOutput);
    QCOMPARE(readFile(path("self.tld")), packed);
}

void TestLzrw1::failedCompressionDeletesItsOutput()
{
    // A file-size limit makes the write fail part way, as a full disk would.
    QVERIFY(writeFile(path("in"), randomBytes(200000, 2)));
    QVERIFY(writeFile(path("packed"), "an older file"));
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 50000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    Tlzrw1 codec;
    const qint64 written = codec.Compress(path("in"), path("packed"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(written, -1);
    QCOMPARE(codec.error(), Tlzrw1::Error::Write);
    QCOMPARE(codec.errorString(), "Lzrw1 : Error writing to output file : " + path("packed"));
    QVERIFY(!QFile::exists(path("packed")));
}

namespace {

// Accepts a fixed number of bytes, then refuses every write.
class FullDevice : public QIODevice
{
public:
    explicit FullDevice(qint64 room)
        : room(room)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        if (size > room)
            return -1;
        room -= size;
        return size;
    }

private:
    qint64 room;
};

} // namespace

void TestLzrw1::failedWriteToDeviceIsReported()
{
    QBuffer in;
    in.setData(englishText(100000, 3));
    in.open(QIODevice::ReadOnly);
    FullDevice out(1000);
    Tlzrw1 codec;
    QCOMPARE(codec.compressDevice(in, out), -1);
    QCOMPARE(codec.error(), Tlzrw1::Error::Write);
}

void TestLzrw1::roundTripRestoresEveryInput_data()
{
    QTest::addColumn<QByteArray>("input");
    const int sizes[] = {0, 1, 2, 3, 4, 15, 16, 17, 18, 19, 4095, 4096, 4097, 32767, 32768, 32769, 65535,
        65536, 65537, 100000, 250000};
    using Maker = QByteArray (*)(qsizetype, unsigned);
    const std::pair<const char *, Maker> kinds[] = {
        {"random", randomBytes},
        {"english", englishText},
        {"runs", runs},
        {"echoes", echoes},
        {"zeros", [](qsizetype size, unsigned) { return QByteArray(size, '\0'); }},
        {"period-3",
            [](qsizetype size, unsigned) { return QByteArray("xyz").repeated(size / 3 + 1).left(size); }},
    };
    for (const auto &[kind, make] : kinds) {
        for (int size : sizes) {
            for (unsigned seed : {11u, 12u})
                QTest::addRow("%s %d #%u", kind, size, seed) << make(size, seed);
        }
    }
}

void TestLzrw1::roundTripRestoresEveryInput()
{
    QFETCH(QByteArray, input);
    QBuffer in, packed;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    packed.open(QIODevice::WriteOnly);
    Tlzrw1 codec;
    const qint64 written = codec.compressDevice(in, packed);
    QCOMPARE(written, packed.size());

    // Every block compresses to at most its chunk or is stored one byte longer.
    const QByteArray data = packed.data();
    const qsizetype chunks = input.size() / 32768 + 1;
    QVERIFY(data.size() <= 8 + chunks * (2 + 32769));
    qsizetype at = 8, left = input.size();
    for (qsizetype i = 0; i < chunks; ++i) {
        QVERIFY(at + 2 <= data.size());
        const int length = quint8(data[at]) | quint8(data[at + 1]) << 8;
        const int chunk = int(std::min<qsizetype>(left, 32768));
        const quint8 flag = quint8(data[at + 2]);
        QVERIFY2((flag == TLZR::flagCompressed && length <= chunk)
                || (flag == TLZR::flagStored && length == chunk + 1),
            qPrintable(QStringLiteral("block %1: flag %2, length %3, chunk %4")
                           .arg(i)
                           .arg(flag)
                           .arg(length)
                           .arg(chunk)));
        at += 2 + length;
        left -= chunk;
    }
    QCOMPARE(at, data.size());

    QBuffer source, out;
    source.setData(data);
    source.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    QCOMPARE(codec.decompressDevice(source, out), input.size());
    QVERIFY(out.data() == input);
}

QTEST_GUILESS_MAIN(TestLzrw1)
#include "tst_lzrw1.moc"
