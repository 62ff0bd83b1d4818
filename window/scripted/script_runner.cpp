// Parsing and running scripts; the window-specific half is the ScriptWindow.
#include "window/scripted/script_runner.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "window/cp936.h"

namespace tc {
namespace {

struct ScriptError {
  std::string message;
};

// A script word; "quoted" words may hold raw bytes.
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

class Runner {
 public:
  Runner(ScriptWindow& window, std::filesystem::path run_dir) : window_(window), run_dir_(std::move(run_dir)) {}

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
  ScriptWindow& window_;
  std::filesystem::path run_dir_;
  int line_ = 0;
  bool ended_ = false;

  void finish(bool print_exit) {
    if (window_.model() != nullptr && !ended_) {
      window_.settle();
      window_.model()->shut_down();
      ended_ = true;
    }
    if (print_exit) std::printf("exit: 0\n");
    std::fflush(stdout);
  }

  void end_after_close() {
    if (window_.model() != nullptr && !ended_) {
      window_.model()->shut_down();
      ended_ = true;
    }
  }

  ControlIndex named(const Word& w) const {
    const std::optional<std::string> name = utf8_to_cp936(w.text);
    const ControlIndex i = name ? control_named(*name) : NO_CONTROL;
    if (i == NO_CONTROL && w.text != "focus") throw ScriptError{"unknown control " + w.text};
    return i;
  }

  static void need(const std::vector<Word>& words, std::size_t n) {
    if (words.size() < n) throw ScriptError{"missing argument"};
  }

  void require_started() const {
    if (window_.model() == nullptr) throw ScriptError{"the program has not started"};
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

  // What a control shows, in the script's own notation.
  std::string value_of(ControlIndex i) {
    if (i == NO_CONTROL) {
      const ControlIndex f = window_.focus();
      return f == NO_CONTROL ? "(none)" : cp936_to_utf8(window_definition()[static_cast<std::size_t>(f)].name);
    }
    switch (window_definition()[static_cast<std::size_t>(i)].kind) {
      case ControlKind::CheckBox: return window_.ticked(i) ? "ticked" : "clear";
      case ControlKind::DatePicker: {
        const PickerFields p = window_.picker(i);
        char buf[48];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                      p.second);
        return buf;
      }
      case ControlKind::ComboBox: {
        std::string s = cp936_to_utf8(window_.text(i));
        for (const Text& item : window_.items(i)) s += " | " + cp936_to_utf8(item);
        return s;
      }
      case ControlKind::Timer: return std::to_string(window_.timer_period());
      default: return cp936_to_utf8(window_.text(i));
    }
  }

  static KeyArgs key_of(const std::vector<Word>& words) {
    KeyArgs k;
    const std::string& name = words[2].text;
    if (name == "Enter") k.key = KEY_ENTER;
    else if (name == "Tab") k.key = KEY_TAB;
    else if (name == "Esc") k.key = KEY_ESCAPE;
    else if (!name.empty() && name.size() < 5 && name.find_first_not_of("0123456789") == std::string::npos) k.key = std::stoi(name);
    else throw ScriptError{"unknown key " + name};
    for (std::size_t i = 3; i < words.size(); ++i) {
      if (words[i].text == "ctrl") k.modifiers |= MOD_CTRL;
      else if (words[i].text == "shift") k.modifiers |= MOD_SHIFT;
      else if (words[i].text == "alt") k.modifiers |= MOD_ALT;
      else throw ScriptError{"unknown modifier " + words[i].text};
    }
    return k;
  }

  static std::int64_t number(const Word& w) {
    if (w.text.empty() || w.text.size() > 9 || w.text.find_first_not_of("0123456789") != std::string::npos) {
      throw ScriptError{"not a number: " + w.text};
    }
    return std::stoll(w.text);
  }

  bool command(const std::vector<Word>& w, const std::string& line) {
    const std::string& cmd = w[0].text;
    if (cmd == "clock") {
      need(w, 3);
      window_.set_clock(parse_time(w[1], w[2]));
    } else if (cmd == "storefile") {
      need(w, 2);
      const Text bytes = to_cp936(w[1].text);
      std::ofstream(run_dir_ / "djs_cfg.ini", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    } else if (cmd == "start") {
      if (window_.model() != nullptr) throw ScriptError{"started twice"};
      window_.start(run_dir_);
    } else if (cmd == "pick") {
      need(w, 4);
      const ControlIndex i = named(w[1]);
      require_started();
      const std::optional<CalendarFields> f = time_to_fields(from_whole_seconds(parse_time(w[2], w[3])));
      if (!f || !window_.pick(i, PickerFields{f->year, f->month, f->day, f->hour, f->minute, f->second})) {
        throw ScriptError{"the picker refuses that time"};
      }
    } else if (cmd == "type") {
      need(w, 3);
      const ControlIndex i = named(w[1]);
      require_started();
      window_.type(i, to_cp936(w[2].text));
    } else if (cmd == "click") {
      need(w, 2);
      const ControlIndex i = named(w[1]);
      require_started();
      window_.click(i);
    } else if (cmd == "choose") {
      need(w, 3);
      const ControlIndex i = named(w[1]);
      require_started();
      if (!window_.choose(i, static_cast<int>(number(w[2])))) throw ScriptError{"no such item"};
    } else if (cmd == "key") {
      need(w, 3);
      const ControlIndex i = named(w[1]);
      require_started();
      window_.key(i, key_of(w));
      if (window_.closed()) end_after_close();
    } else if (cmd == "wait") {
      need(w, 2);
      window_.wait(number(w[1]));
    } else if (cmd == "show" || cmd == "expect") {
      need(w, cmd == "show" ? 2 : 3);
      window_.settle();
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
      need(w, 2);
      require_started();
      window_.burst(static_cast<int>(number(w[1])));
      return true;
    } else if (cmd == "close") {
      require_started();
      window_.close();
      end_after_close();
      return true;
    } else {
      throw ScriptError{"unknown command " + cmd};
    }
    window_.settle();
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
};

}  // namespace

int run_script(ScriptWindow& window, std::istream& script, const std::filesystem::path& run_directory) {
  return Runner(window, run_directory).run(script);
}

int script_program_main(int argc, char** argv, const char* program,
                        const std::function<std::unique_ptr<ScriptWindow>()>& make_window) {
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
      script.clear();
      break;
    }
  }
  if (script.empty()) {
    std::fprintf(stderr, "usage: %s [--run-dir DIR] SCRIPT\n", program);
    return 2;
  }
  if (run_dir.empty()) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "time-calculator-XXXXXX").string();
    if (mkdtemp(tmpl.data()) == nullptr) return 2;
    run_dir = tmpl;
    own_dir = true;
  }
  int code = 2;
  {
    const std::unique_ptr<ScriptWindow> window = make_window();
    if (script == "-") {
      code = run_script(*window, std::cin, run_dir);
    } else if (std::ifstream in(script); in) {
      code = run_script(*window, in, run_dir);
    } else {
      std::fprintf(stderr, "cannot read %s\n", script.c_str());
    }
  }
  if (own_dir) {
    std::error_code ec;
    std::filesystem::remove_all(run_dir, ec);
  }
  return code;
}

}  // namespace tc
