// time-calculator-script: runs a script of user actions and checks against the
// real program logic on the scripted window. Usage:
//   time-calculator-script [--run-dir DIR] SCRIPT     (SCRIPT "-" for stdin)
// Commands: clock, storefile, start, pick, type, click, choose, key, wait, show,
// expect, file, close; and for tests: "expect file TEXT" (the store bytes, or
// "(no file)"), "show focus" / "expect focus NAME", and "burst N" (N timer ticks
// whose refreshes are left running).
// Exit code 0 when the script ran to its end, 1 on a failed expect, 2 on a script
// error. The program's own exit code is printed last as "exit: N".
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "window/cp936.h"
#include "window/scripted/scripted_binding.h"

namespace tc {
namespace {

// The script's wall clock: a fixed start plus the virtual milliseconds waited.
class ScriptClock final : public ClockSource {
 public:
  void set(std::int64_t whole_seconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    start_ = whole_seconds;
    elapsed_ms_ = 0;
  }
  void advance(std::int64_t ms) {
    std::lock_guard<std::mutex> lock(mutex_);
    elapsed_ms_ += ms;
  }
  std::optional<ClockReading> read() const override {
    std::int64_t seconds, ms;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      seconds = start_ + elapsed_ms_ / 1000;
      ms = elapsed_ms_ % 1000;
    }
    const std::optional<CalendarFields> f = time_to_fields(from_whole_seconds(seconds));
    if (!f) return std::nullopt;
    return ClockReading{f->year, f->month, f->day, f->hour, f->minute, f->second, static_cast<std::int32_t>(ms)};
  }

 private:
  mutable std::mutex mutex_;
  std::int64_t start_ = 0;
  std::int64_t elapsed_ms_ = 0;
};

struct ScriptError {
  std::string message;
};

// Splits a script line into words; "quoted" words take the escapes \\ \" \r \n
// \t and \xHH (a raw byte); the rest of a quoted word is UTF-8 text.
struct Word {
  std::string text;
  bool quoted = false;
};

std::vector<Word> split_words(const std::string& line) {
  std::vector<Word> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    Word w;
    if (line[i] == '"') {
      w.quoted = true;
      ++i;
      // Raw bytes are kept apart from UTF-8 text with a marker: bytes written
      // \xHH are stored as 0x01 followed by the byte, converted later.
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          w.text += c;
          continue;
        }
        if (i >= line.size()) throw ScriptError{"dangling escape"};
        const char e = line[i++];
        switch (e) {
          case '\\': w.text += '\\'; break;
          case '"': w.text += '"'; break;
          case 'r': w.text += '\r'; break;
          case 'n': w.text += '\n'; break;
          case 't': w.text += '\t'; break;
          case 'x': {
            if (i + 2 > line.size()) throw ScriptError{"bad \\x escape"};
            const int byte = std::stoi(line.substr(i, 2), nullptr, 16);
            i += 2;
            w.text += '\x01';
            w.text += static_cast<char>(byte);
            break;
          }
          default: throw ScriptError{std::string("unknown escape \\") + e};
        }
      }
      if (!closed) throw ScriptError{"unclosed quote"};
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') w.text += line[i++];
    }
    words.push_back(std::move(w));
  }
  return words;
}

// A quoted script word as cp936 bytes: UTF-8 runs converted, \xHH bytes as they are.
Text to_cp936(const std::string& word) {
  Text out;
  std::string run;
  const auto flush = [&] {
    if (run.empty()) return;
    const std::optional<std::string> bytes = utf8_to_cp936(run);
    if (!bytes) throw ScriptError{"text has no code page 936 form: " + run};
    out += *bytes;
    run.clear();
  };
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '\x01' && i + 1 < word.size()) {
      flush();
      out += word[++i];
    } else {
      run += word[i];
    }
  }
  flush();
  return out;
}

std::string escaped(std::string_view bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

class Driver {
 public:
  explicit Driver(std::filesystem::path run_dir) : run_dir_(std::move(run_dir)) {
    clock_.set(to_whole_seconds(current_time()));
  }

  int run(std::istream& in) {
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      line_ = number;
      try {
        const std::vector<Word> words = split_words(line);
        if (words.empty() || words[0].text.starts_with("#")) continue;
        if (!command(words, line)) return 1;
      } catch (const ScriptError& e) {
        std::printf("script error at line %d: %s\n", number, e.message.c_str());
        finish(false);
        return 2;
      }
    }
    finish(true);
    return 0;
  }

 private:
  ScriptedBinding binding_;
  ScriptClock clock_;
  std::filesystem::path run_dir_;
  std::unique_ptr<WindowModel> model_;
  std::unique_ptr<App> app_;
  int line_ = 0;
  bool ended_ = false;

  void finish(bool print_exit) {
    if (model_ && !ended_) {
      model_->wait_workers_idle([&] { binding_.pump(); });
      model_->shut_down();
      ended_ = true;
    }
    if (print_exit) std::printf("exit: 0\n");
    std::fflush(stdout);
  }

  ControlIndex named(const Word& w) const {
    const std::optional<std::string> name = utf8_to_cp936(w.text);
    const ControlIndex i = name ? control_named(*name) : NO_CONTROL;
    if (i == NO_CONTROL && w.text != "focus") throw ScriptError{"unknown control " + w.text};
    return i;
  }

  void need(const std::vector<Word>& words, std::size_t n) const {
    if (words.size() < n) throw ScriptError{"missing argument"};
  }

  WindowModel& model() {
    if (!model_) throw ScriptError{"the program has not started"};
    return *model_;
  }

  static std::int64_t parse_time(const Word& date, const Word& time) {
    int y, mo, d, h, mi, s;
    char tail;
    if (std::sscanf((date.text + " " + time.text).c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6) {
      throw ScriptError{"bad time " + date.text + " " + time.text};
    }
    const std::optional<TimeValue> v = fields_to_time(y, mo, d, h, mi, s);
    if (!v) throw ScriptError{"invalid time"};
    return to_whole_seconds(*v);
  }

  // Runs posted calls and lets every started refresh finish.
  void settle() {
    binding_.pump();
    if (model_ && !ended_) model_->wait_workers_idle([&] { binding_.pump(); });
  }

  std::string value_of(ControlIndex i) {
    if (i == NO_CONTROL) {
      const ControlIndex f = binding_.focus();
      return f == NO_CONTROL ? "(none)" : cp936_to_utf8(window_definition()[static_cast<std::size_t>(f)].name);
    }
    const ControlDefinition& def = window_definition()[static_cast<std::size_t>(i)];
    ScriptedBinding::Control& c = binding_.state(i);
    switch (def.kind) {
      case ControlKind::CheckBox: return c.ticked ? "ticked" : "clear";
      case ControlKind::DatePicker: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", c.picker.year, c.picker.month, c.picker.day,
                      c.picker.hour, c.picker.minute, c.picker.second);
        return buf;
      }
      case ControlKind::ComboBox: {
        std::string s = cp936_to_utf8(c.text);
        for (const Text& item : c.items) s += " | " + cp936_to_utf8(item);
        return s;
      }
      case ControlKind::Timer: return std::to_string(model_ ? model_->timer_period() : 0);
      case ControlKind::Label: return model_ ? cp936_to_utf8(model_->caption(model_->control(i))) : cp936_to_utf8(c.text);
      default: return cp936_to_utf8(c.text);
    }
  }

  KeyArgs key_of(const std::vector<Word>& words) const {
    KeyArgs k;
    const std::string& name = words[2].text;
    if (name == "Enter") k.key = KEY_ENTER;
    else if (name == "Tab") k.key = KEY_TAB;
    else if (name == "Esc") k.key = KEY_ESCAPE;
    else if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) k.key = std::stoi(name);
    else throw ScriptError{"unknown key " + name};
    for (std::size_t i = 3; i < words.size(); ++i) {
      if (words[i].text == "ctrl") k.modifiers |= MOD_CTRL;
      else if (words[i].text == "shift") k.modifiers |= MOD_SHIFT;
      else if (words[i].text == "alt") k.modifiers |= MOD_ALT;
      else throw ScriptError{"unknown modifier " + words[i].text};
    }
    return k;
  }

  void wait(std::int64_t ms) {
    const std::uint32_t end = binding_.tick_ms() + static_cast<std::uint32_t>(ms);
    std::uint32_t now = binding_.tick_ms();
    while (model_ && !ended_ && binding_.timer_period() > 0 &&
           static_cast<std::int32_t>(binding_.timer_due() - end) <= 0) {
      const std::uint32_t due = binding_.timer_due();
      binding_.advance(due - now);
      clock_.advance(due - now);
      now = due;
      binding_.timer_fired();
      model_->on_periodic();
      settle();
    }
    binding_.advance(end - now);
    clock_.advance(end - now);
    settle();
  }

  bool command(const std::vector<Word>& w, const std::string& line) {
    const std::string& cmd = w[0].text;
    if (cmd == "clock") {
      need(w, 3);
      clock_.set(parse_time(w[1], w[2]));
    } else if (cmd == "storefile") {
      need(w, 2);
      const Text bytes = to_cp936(w[1].text);
      std::ofstream(run_dir_ / "djs_cfg.ini", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    } else if (cmd == "start") {
      if (model_) throw ScriptError{"started twice"};
      model_ = std::make_unique<WindowModel>(binding_, clock_);
      app_ = std::make_unique<App>(App{*model_, run_dir_, std::nullopt});
      binding_.on_end = [](int code) { std::printf("exit: %d\n", code); };
      start_program(*app_);
    } else if (cmd == "pick") {
      need(w, 4);
      const ControlIndex i = named(w[1]);
      const std::optional<CalendarFields> f = time_to_fields(from_whole_seconds(parse_time(w[2], w[3])));
      if (!f || !binding_.set_picker(i, PickerFields{f->year, f->month, f->day, f->hour, f->minute, f->second})) {
        throw ScriptError{"the picker refuses that time"};
      }
      model().on_picker_changed(i);
    } else if (cmd == "type") {
      need(w, 3);
      const ControlIndex i = named(w[1]);
      binding_.state(i).text = to_cp936(w[2].text);
      if (window_definition()[static_cast<std::size_t>(i)].kind == ControlKind::EditBox) model().on_text_changed(i);
    } else if (cmd == "click") {
      need(w, 2);
      const ControlIndex i = named(w[1]);
      if (window_definition()[static_cast<std::size_t>(i)].kind == ControlKind::CheckBox) {
        binding_.state(i).ticked = !binding_.state(i).ticked;
      }
      model().on_clicked(i);
    } else if (cmd == "choose") {
      need(w, 3);
      const ControlIndex i = named(w[1]);
      ScriptedBinding::Control& c = binding_.state(i);
      const int index = std::stoi(w[2].text);
      if (index < 0 || static_cast<std::size_t>(index) >= c.items.size()) throw ScriptError{"no such item"};
      c.selected = index;
      c.text = c.items[static_cast<std::size_t>(index)];
      WindowModel& m = model();
      binding_.post([&m, i] { m.on_item_selected(i); });  // handled after the field shows the item
    } else if (cmd == "key") {
      need(w, 3);
      const ControlIndex i = named(w[1]);
      binding_.set_focus(i);
      model().on_key(i, key_of(w));
      if (binding_.closed()) finish_closed();
    } else if (cmd == "wait") {
      need(w, 2);
      wait(std::stoll(w[1].text));
    } else if (cmd == "show" || cmd == "expect") {
      need(w, cmd == "show" ? 2 : 3);
      settle();
      const bool is_file = w[1].text == "file";
      const std::string value = is_file ? file_text() : value_of(named(w[1]));
      if (cmd == "show") {
        std::printf("%s: %s\n", w[1].text.c_str(), value.c_str());
      } else {
        const std::string want = is_file && w[2].text != "(no file)" ? escaped(cp936_to_utf8(to_cp936(w[2].text)))
                                                                      : cp936_to_utf8(to_cp936(w[2].text));
        if (value != want) {
          std::printf("line %d: %s\n  expected: %s\n  actual:   %s\n", line_, line.c_str(), want.c_str(), value.c_str());
          finish(false);
          return false;
        }
      }
    } else if (cmd == "file") {
      std::printf("%s\n", file_text().c_str());
    } else if (cmd == "burst") {
      // N timer ticks at once, without letting their refreshes finish: for closing
      // the window while refreshes are in flight.
      need(w, 2);
      for (int n = std::stoi(w[1].text); n > 0; --n) model().on_periodic();
      return true;
    } else if (cmd == "close") {
      binding_.close_window();
      finish_closed();
      return true;
    } else {
      throw ScriptError{"unknown command " + cmd};
    }
    settle();
    return true;
  }

  // The store file as one quoted text, or "(no file)".
  std::string file_text() const {
    std::ifstream f(run_dir_ / "djs_cfg.ini", std::ios::binary);
    if (!f) return "(no file)";
    std::stringstream ss;
    ss << f.rdbuf();
    return escaped(cp936_to_utf8(ss.str()));
  }

  void finish_closed() {
    if (model_ && !ended_) {
      model_->shut_down();
      ended_ = true;
    }
  }
};

}  // namespace
}  // namespace tc

int main(int argc, char** argv) {
  std::filesystem::path run_dir;
  std::string script;
  bool own_dir = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--run-dir" && i + 1 < argc) {
      run_dir = argv[++i];
    } else if (script.empty()) {
      script = arg;
    } else {
      std::fprintf(stderr, "usage: time-calculator-script [--run-dir DIR] SCRIPT\n");
      return 2;
    }
  }
  if (script.empty()) {
    std::fprintf(stderr, "usage: time-calculator-script [--run-dir DIR] SCRIPT\n");
    return 2;
  }
  if (run_dir.empty()) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "time-calculator-XXXXXX").string();
    if (mkdtemp(tmpl.data()) == nullptr) return 2;
    run_dir = tmpl;
    own_dir = true;
  }
  int code;
  {
    tc::Driver driver(run_dir);
    if (script == "-") {
      code = driver.run(std::cin);
    } else {
      std::ifstream in(script);
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", script.c_str());
        return 2;
      }
      code = driver.run(in);
    }
  }
  if (own_dir) {
    std::error_code ec;
    std::filesystem::remove_all(run_dir, ec);
  }
  return code;
}
