// The keyring on Linux: the Secret Service over the session bus, through libsecret.
#include <libsecret/secret.h>
#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/SecretStore.h"
#include "platform/SettingsStore.h"

namespace nomvarix {
namespace {

/// How long one call may wait for the Secret Service: an activatable service that never answers
/// would otherwise hold the window for the bus's own 25 seconds.
constexpr auto kLongestWait = std::chrono::seconds(3);

SecretSchema MakeSchema() {
  SecretSchema schema{};  // the attribute list ends at the first one without a name
  schema.name = "com.quorvantine.Nomvarix";
  schema.flags = SECRET_SCHEMA_NONE;
  schema.attributes[0] = {"name", SECRET_SCHEMA_ATTRIBUTE_STRING};
  return schema;
}

const SecretSchema* Schema() {
  static const SecretSchema schema = MakeSchema();
  return &schema;
}

/// Without a session bus, libsecret would try to start one (a dbus-launch on the X display):
/// the store is then not used at all.
bool SessionBusNamed() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  struct stat st {};
  return runtime && *runtime == '/' && stat((std::string(runtime) + "/bus").c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

/// Cancels `cancellable` when it outlives kLongestWait.
class Deadline {
 public:
  explicit Deadline(GCancellable* cancellable)
      : watcher_([this, cancellable] {
          std::unique_lock lock(mutex_);
          if (!ended_.wait_for(lock, kLongestWait, [this] { return done_; })) g_cancellable_cancel(cancellable);
        }) {}
  ~Deadline() {
    {
      const std::lock_guard lock(mutex_);
      done_ = true;
    }
    ended_.notify_one();
    watcher_.join();
  }
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  bool done_ = false;
  std::thread watcher_;
};

/// One call with its deadline; the error, if any, is cleared and reported as false.
template <typename Call>
bool CallWithDeadline(const Call& call) {
  GCancellable* cancellable = g_cancellable_new();
  GError* error = nullptr;
  {
    const Deadline deadline(cancellable);
    call(cancellable, &error);
  }
  g_object_unref(cancellable);
  if (!error) return true;
  g_error_free(error);
  return false;
}

class SecretServiceStore final : public SecretStore {
 public:
  bool Available() const override { return usable_; }

  std::optional<std::string> Read(std::string_view name) override {
    if (!usable_) return std::nullopt;
    const std::string key(name);
    std::string secret;
    const bool read = CallWithDeadline([&](GCancellable* cancellable, GError** error) {
      gchar* found = secret_password_lookup_sync(Schema(), cancellable, error, "name", key.c_str(), nullptr);
      if (!found) return;
      secret = found;
      secret_password_free(found);
    });
    if (!Keep(read)) return std::nullopt;
    return secret;
  }

  bool Write(std::string_view name, std::string_view secret) override {
    if (!usable_) return false;
    const std::string key(name);
    const std::string text(secret);
    const std::string label = "Nomvarix: " + key;
    return Keep(CallWithDeadline([&](GCancellable* cancellable, GError** error) {
      secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), text.c_str(), cancellable, error,
                                 "name", key.c_str(), nullptr);
    }));
  }

  bool Remove(std::string_view name) override {
    if (!usable_) return false;
    const std::string key(name);
    return Keep(CallWithDeadline([&](GCancellable* cancellable, GError** error) {
      secret_password_clear_sync(Schema(), cancellable, error, "name", key.c_str(), nullptr);
    }));
  }

 private:
  /// A keyring that failed once is not asked again.
  bool Keep(bool succeeded) {
    if (!succeeded) usable_ = false;
    return succeeded;
  }

  bool usable_ = SessionBusNamed() && !std::getenv(kSettingsFileVariable);
};

}  // namespace

std::unique_ptr<SecretStore> MakeSystemSecretStore() { return std::make_unique<SecretServiceStore>(); }

}  // namespace nomvarix
