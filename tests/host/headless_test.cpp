// headless_test.cpp: what lortan --batch and vetrix-check tell a script when things go
// wrong — bad databases, a locked database, standard output that takes nothing,
// chromatogram paths that are no files, report destinations that are no files, a full
// disk under the workbook, large selections and skipped identifiers — run as a script
// runs them: the real programs on real databases, each run bounded in time.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "host/odt/zip_package.h"
#include "host_test_support.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int code;
  std::string out, err;
  std::string FirstErrorLine() const { return err.substr(0, err.find('\n')); }
};

std::string Quote(const std::string& text) { return "'" + text + "'"; }

void Sql(const std::string& db, const std::string& sql) {
  sqlite3* handle = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
  char* message = nullptr;
  const int rc = sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, &message);
  EXPECT_EQ(rc, SQLITE_OK) << (message ? message : "") << "\n" << sql;
  sqlite3_free(message);
  sqlite3_close(handle);
}

// Makes `path` writable again, or not even for root (immutable when run as root, where
// the file mode does not count). False when that cannot be done here.
bool SetWritable(const std::string& path, bool writable) {
  if (::geteuid() == 0) {
    const std::string command = std::string("chattr ") + (writable ? "-i " : "+i ") + "'" + path + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
  }
  return ::chmod(path.c_str(), writable ? 0644 : 0444) == 0;
}

// A connection holding the database's exclusive lock until it is released.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(const std::string& db) {
    sqlite3_open(db.c_str(), &handle_);
    held_ = sqlite3_exec(handle_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~ExclusiveLock() { Release(); }
  bool held() const { return held_; }
  void Release() {
    if (held_) sqlite3_exec(handle_, "COMMIT", nullptr, nullptr, nullptr);
    held_ = false;
    sqlite3_close(handle_);
    handle_ = nullptr;
  }

 private:
  sqlite3* handle_ = nullptr;
  bool held_ = false;
};

class Headless : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    demo_ = new TestFolder();
    const int status =
        std::system((Quote(VETRIX_DEMO_DATA) + " --out " + Quote(*demo_ / "demo") + " >/dev/null").c_str());
    ASSERT_EQ(status, 0);
  }
  static void TearDownTestSuite() {
    delete demo_;
    demo_ = nullptr;
  }
  void SetUp() override { fs::copy_file(demo_->path() / "demo/lortan.db", db_); }

  // Runs `command` with a time bound; standard output goes to `out` unless `stdoutTo`
  // redirects it elsewhere (">/dev/full", ">&-").
  Outcome Run(const std::string& command, const std::string& stdoutTo = "", int seconds = 120) {
    const std::string out = folder_ / "out.txt", err = folder_ / "err.txt";
    const std::string line = "timeout -k 5 " + std::to_string(seconds) + " " + command + " " +
                             (stdoutTo.empty() ? ">" + Quote(out) : stdoutTo) + " 2>" + Quote(err);
    const int status = std::system(line.c_str());
    Outcome o{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(out), ReadWholeFile(err)};
    fs::remove(out);
    return o;
  }
  Outcome Check(const std::string& arguments, const std::string& stdoutTo = "", int seconds = 120) {
    return Run(Quote(VETRIX_CHECK) + " --db " + Quote(db_) + " " + arguments, stdoutTo, seconds);
  }
  // lortan --batch with the test's own default profile ($XDG_CONFIG_HOME/lortan/profile.db).
  Outcome Batch(const std::string& arguments, const std::string& stdoutTo = "", int seconds = 120) {
    return Run("env -u XDG_RUNTIME_DIR XDG_CONFIG_HOME=" + Quote(folder_ / "config") + " " + Quote(LORTAN_EXECUTABLE) +
                   " --batch --db " + Quote(db_) + " " + arguments,
               stdoutTo, seconds);
  }

  static TestFolder* demo_;
  TestFolder folder_;
  std::string db_ = folder_ / "host.db";
};
TestFolder* Headless::demo_ = nullptr;

TEST_F(Headless, ADatabaseThatCannotBeReadFailsBothProgramsWithTheSqliteTextAndTheDatabase) {
  struct Case {
    const char* name;
    std::function<bool(const std::string&)> spoil;  // false: cannot be made here
    const char* sqliteText;
  };
  auto sql = [](const char* statement) {
    return [statement](const std::string& db) {
      Sql(db, statement);
      return true;
    };
  };
  const Case cases[] = {
      {"missing table", sql("DROP TABLE peak"), "no such table: peak"},
      {"missing column", sql("ALTER TABLE assay DROP COLUMN airtemp"), "no such column: airtemp"},
      {"not a database",
       [](const std::string& db) {
         std::ofstream(db, std::ios::trunc) << std::string(4096, 'x');
         return true;
       },
       "file is not a database"},
      {"malformed",
       [](const std::string& db) {
         // Every page after the schema's is overwritten: the tables' b-trees are garbage.
         const auto size = fs::file_size(db);
         std::fstream file(db, std::ios::in | std::ios::out | std::ios::binary);
         file.seekp(4096);
         const std::string junk(static_cast<std::size_t>(size) - 4096, '\x5a');
         file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
         return true;
       },
       "malformed"},
      {"hot journal on a database that cannot be written",
       [](const std::string& db) {
         // A rollback journal left by a crashed writer, which only a writable database can
         // roll back: magic, no records, nonce, 1 page, 512-byte sectors, 4096-byte pages.
         std::string journal("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);
         for (const std::uint32_t field : {0u, 1u, 1u, 512u, 4096u})
           for (int shift = 24; shift >= 0; shift -= 8) journal += static_cast<char>((field >> shift) & 0xFF);
         journal.resize(512, '\0');
         std::ofstream(db + "-journal", std::ios::binary) << journal;
         return SetWritable(db, false);
       },
       "attempt to write a readonly database"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(db_);
    fs::copy_file(demo_->path() / "demo/lortan.db", db_);
    if (!c.spoil(db_)) {
      std::printf("[ SKIPPED  ] %s: cannot be made on this machine\n", c.name);
      continue;
    }
    for (const Outcome& run : {Check(""), Batch("--select all")}) {
      EXPECT_EQ(run.code, 2) << run.err;
      EXPECT_NE(run.FirstErrorLine().find(c.sqliteText), std::string::npos) << run.err;
      EXPECT_NE(run.FirstErrorLine().find(db_), std::string::npos) << run.err;
      EXPECT_EQ(run.out, "") << "no table of nothing";
    }
    SetWritable(db_, true);
    fs::remove(db_ + "-journal");
  }
}

TEST_F(Headless, AWriterIsWaitedForAndAStuckLockIsReported) {
  // A lock held for a moment (the host writing) is waited for.
  const Outcome expected = Check("");
  ASSERT_EQ(expected.code, 0) << expected.err;
  for (const bool batch : {false, true}) {
    auto lock = std::make_unique<ExclusiveLock>(db_);
    ASSERT_TRUE(lock->held());
    std::thread release([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      lock->Release();
    });
    const Outcome run = batch ? Batch("--select all") : Check("");
    release.join();
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, expected.out);
  }
  // A lock that stays is "database is locked", after the wait.
  ExclusiveLock lock(db_);
  ASSERT_TRUE(lock.held());
  for (const Outcome& run : {Check(""), Batch("--select all")}) {
    EXPECT_EQ(run.code, 2) << run.err;
    EXPECT_NE(run.FirstErrorLine().find("database is locked"), std::string::npos) << run.err;
    EXPECT_NE(run.FirstErrorLine().find(db_), std::string::npos) << run.err;
  }
}

TEST_F(Headless, StandardOutputThatTakesNothingIsAFailure) {
  const struct {
    const char* redirect;
    const char* reason;
  } cases[] = {{">/dev/full", "No space left on device"}, {">&-", "Bad file descriptor"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.redirect);
    for (const Outcome& run : {Check("--json", c.redirect), Check("", c.redirect), Batch("", c.redirect)}) {
      EXPECT_EQ(run.code, 2) << run.err;
      EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    }
  }
  EXPECT_EQ(Check("").code, 0) << "the database was not harmed by a closed standard output";
}

TEST_F(Headless, AChromatogramPathThatIsNoFileCountsAsUnreadableAtOnce) {
  // Only pressure and temperature depend on the file: with both corrections on, a path
  // that is no regular file gives exactly what a missing file gives, without waiting.
  const std::string corrections = "--pressure-correction --temperature-correction";
  const std::string setFile = "UPDATE assay SET filename = '%s' WHERE id = 1";
  auto pointAt = [&](const std::string& path) {
    std::string sql = setFile;
    sql.replace(sql.find("%s"), 2, path);
    Sql(db_, sql);
  };
  // Every path ends in "x.stg": the messages name the file by its last part.
  for (const char* sub : {"missing", "fifo", "device", "socket", "folder"}) fs::create_directory(folder_ / sub);
  pointAt(folder_ / "missing/x.stg");
  const Outcome missing = Check(corrections);
  ASSERT_EQ(missing.code, 0) << missing.err;
  const Outcome plainBatch = Batch("");
  ASSERT_EQ(plainBatch.code, 0) << plainBatch.err;

  const std::string fifo = folder_ / "fifo/x.stg", socketPath = folder_ / "socket/x.stg";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", folder_ / "device/x.stg");  // a device that never ends
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  fs::create_directory(folder_ / "folder/x.stg");
  for (const char* sub : {"fifo", "device", "socket", "folder"}) {
    SCOPED_TRACE(sub);
    pointAt(folder_ / (std::string(sub) + "/x.stg"));
    const Outcome check = Check(corrections, "", 60);
    EXPECT_EQ(check.code, 0) << check.err;
    EXPECT_TRUE(check.out == missing.out) << check.out;
    const Outcome batch = Batch("", "", 60);
    EXPECT_EQ(batch.code, 0) << batch.err;
    EXPECT_TRUE(batch.out == plainBatch.out) << batch.out;
  }
  ::close(listener);
}

TEST_F(Headless, AChromatogramThatDoesNotFitInMemoryFailsTheLoadNamingItsFile) {
  // A sparse file of 1 GiB of samples under an address-space limit of 700 MB: the
  // allocation fails, and that is a failed load rather than an unreadable file.
  const std::string big = folder_ / "big.stg";
  {
    const std::uint64_t samples = std::uint64_t{1} << 28;
    const std::uint64_t xmlOffset = 16 + 32 + 4 * samples;
    std::string head(48, '\0');
    head.replace(0, 4, "STG\x01");
    for (int i = 0; i < 8; ++i) {
      head[8 + i] = static_cast<char>((xmlOffset >> (8 * i)) & 0xFF);
      head[40 + i] = static_cast<char>((samples >> (8 * i)) & 0xFF);
    }
    std::ofstream file(big, std::ios::binary);
    file << head;
    file.seekp(static_cast<std::streamoff>(xmlOffset));
    file << "<?xml version=\"1.0\"?><root/>";
  }
  Sql(db_, "UPDATE assay SET filename = '" + big + "' WHERE id = 1");
  const std::string limit = "prlimit --as=700000000 -- ";
  const Outcome check = Run(limit + Quote(VETRIX_CHECK) + " --db " + Quote(db_));
  const Outcome batch = Run("env -u XDG_RUNTIME_DIR XDG_CONFIG_HOME=" + Quote(folder_ / "config") + " " + limit +
                            Quote(LORTAN_EXECUTABLE) + " --batch --db " + Quote(db_));
  for (const Outcome& run : {check, batch}) {
    EXPECT_EQ(run.code, 2) << run.err;
    EXPECT_NE(run.FirstErrorLine().find("not enough memory to read the chromatogram file " + big),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(Headless, TheReportGoesOnlyIntoARegularFileAndFollowsASymbolicLink) {
  const std::string fifo = folder_ / "report-fifo.odt", device = folder_ / "report-device.odt";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const bool haveDevice = ::mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;  // as /dev/null
  fs::create_directory(folder_ / "report-folder.odt");
  struct Case {
    std::string path;
    fs::file_type type;
    const char* kind;
  };
  std::vector<Case> cases = {{fifo, fs::file_type::fifo, "a FIFO"},
                             {folder_ / "report-folder.odt", fs::file_type::directory, "a folder"}};
  if (haveDevice) cases.push_back({device, fs::file_type::character, "a character device"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const Outcome run = Batch("--report " + Quote(c.path), "", 60);
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find(c.kind + std::string(", not a regular file")), std::string::npos) << run.err;
    EXPECT_FALSE(run.out.empty()) << "the results were printed all the same";
    EXPECT_EQ(fs::symlink_status(c.path).type(), c.type) << "left untouched";
  }

  fs::create_directory(folder_ / "reports");
  fs::create_symlink(folder_ / "reports/target.odt", folder_ / "link.odt");
  const Outcome run = Batch("--report " + Quote(folder_ / "link.odt"), "", 60);
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(fs::is_symlink(folder_ / "link.odt"));
  std::string error;
  EXPECT_TRUE(odt::ReadPackage(folder_ / "reports/target.odt", error)) << error << run.err;
}

TEST_F(Headless, AWorkbookThatCannotBeWrittenLeavesNoFileAndSaysWhy) {
  const std::string out = folder_ / "out";
  fs::create_directory(out);
  struct Case {
    const char* name;
    std::string prefix;  // around vetrix-check
    std::string folder;
    std::string reason;
  };
  const Case cases[] = {
      // The file system fills up: a file-size limit stands in for a small disk (the
      // signal it raises is ignored, so writes fail with EFBIG instead).
      {"full", "sh -c \"trap '' XFSZ; exec prlimit --fsize=16384 -- \\\"\\$0\\\" \\\"\\$@\\\"\" ", out, "File too large"},
      {"folder cannot be made", "", "/dev/null/out", "Not a directory"},
      {"folder of two characters", "", "ab", "2 characters or fewer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome run = Run("env -C " + Quote(folder_.path().string()) + " " + c.prefix + Quote(VETRIX_CHECK) +
                            " --db " + Quote(db_) + " --export " + Quote(c.folder));
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_FALSE(run.out.empty()) << "the results were printed all the same";
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
  }
  const Outcome batch = Batch("--export /dev/null/out", "", 60);
  EXPECT_EQ(batch.code, 1) << batch.err;
  EXPECT_NE(batch.err.find("/dev/null/out cannot be created: Not a directory"), std::string::npos) << batch.err;
  EXPECT_TRUE(fs::is_empty(out)) << "nothing under the final name, no temporary file left";
  EXPECT_FALSE(fs::exists(folder_ / "ab"));

  // Two exports within one second both stay.
  const Outcome first = Batch("--export " + Quote(out), "", 60);
  const Outcome second = Check("--export " + Quote(out));
  EXPECT_EQ(first.code, 0) << first.err;
  EXPECT_EQ(second.code, 0) << second.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2);
}

TEST_F(Headless, SixHundredAnalysesAndTwoMixturesOfOneNameGiveTheSameOutputInBothPrograms) {
  // 24 copies of the 25 visible demo analyses, and a second mixture row whose name equals
  // "ГСО-1" only without regard to case, with other certified values.
  std::string sql = "BEGIN;";
  for (int k = 1; k < 24; ++k) {
    const std::string shift = std::to_string(1000 * k);
    sql += "INSERT INTO assay SELECT id + " + shift + ", date + " + std::to_string(k) +
           ", filename, sample, mixture, atmpressure, airtemp, ishidden, isdeleted FROM assay WHERE id < 1000;"
           "INSERT INTO peak (assayid, nameid, name, area, time, channel) SELECT assayid + " +
           shift + ", nameid, name, area, time, channel FROM peak WHERE assayid < 1000;";
  }
  sql +=
      "INSERT INTO mixture (id, name, ballon, release, expiry) SELECT 100, 'гсо-1', ballon, release, expiry "
      "FROM mixture WHERE name = 'ГСО-1';"
      "INSERT INTO mixturecomp (mixtureid, nameid, name, concentration, deviation) SELECT 100, nameid, name, "
      "concentration * 1.02, deviation FROM mixturecomp WHERE mixtureid = (SELECT id FROM mixture WHERE name = "
      "'ГСО-1');"
      "COMMIT;";
  Sql(db_, sql);
  const Outcome check = Check("--select all", "", 300);
  ASSERT_EQ(check.code, 0) << check.err;
  const Outcome batch = Batch("--select all", "", 300);
  ASSERT_EQ(batch.code, 0) << batch.err;
  EXPECT_EQ(batch.out, check.out);
}

TEST_F(Headless, SkippedIdentifiersAreNamedAndNothingLoadedIsAFailure) {
  Sql(db_, "UPDATE assay SET ishidden = 1 WHERE id = 2; UPDATE assay SET isdeleted = 1 WHERE id = 3;");
  const Outcome check = Check("--select 1,9999,2,4,3");
  const Outcome batch = Batch("--select 1,9999,2,4,3");
  for (const Outcome& run : {check, batch}) {
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("chromatograms 9999, 2, 3 were skipped"), std::string::npos) << run.err;
  }
  EXPECT_EQ(batch.out, check.out);
  for (const Outcome& run : {Check("--select 9999,2"), Batch("--select 9999,2")}) {
    EXPECT_EQ(run.code, 2) << run.err;
    EXPECT_NE(run.err.find("9999, 2 were skipped"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("nothing to check"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(Headless, BatchReadsTheDefaultProfileButKeepsItsChangesPrivate) {
  // The desktop user's profile holds a program rounding of 5 digits.
  const std::string profile = folder_ / "config/lortan/profile.db";
  ASSERT_EQ(Run("env -u XDG_RUNTIME_DIR " + Quote(LORTAN_EXECUTABLE) + " --batch --db " + Quote(db_) + " --profile " +
                    Quote(profile) + " --select 1,2")
                .code,
            0);
  Sql(profile,
      "INSERT OR REPLACE INTO profile_int (key, value) VALUES "
      "('plugins\\Vetrix\\ProgramSettings/qtySymInProg', 5);");
  const std::string before = ReadWholeFile(profile);

  const Outcome batch = Batch("--select all --export " + Quote(folder_ / "out"), "", 60);
  ASSERT_EQ(batch.code, 0) << batch.err;
  EXPECT_EQ(batch.out, Check("--digits 5").out) << "the user's rounding was read";
  EXPECT_EQ(ReadWholeFile(profile), before) << "the chromatogram list and export folder stayed private";
}

}  // namespace
