#include "shell/error_text.h"

#include <cstring>

namespace vorrik {
namespace {

constexpr const char* kNumberedMessages[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

// Appends to a bounded buffer while counting the full length.
class BoundedWriter {
 public:
  BoundedWriter(char* out, size_t capacity) : out_(out), capacity_(capacity) { Terminate(); }

  void Append(const char* text) {
    for (; text && *text; ++text) {
      if (out_ && length_ + 1 < capacity_) out_[length_] = *text;
      ++length_;
    }
    Terminate();
  }
  size_t Length() const { return length_; }

 private:
  void Terminate() {
    if (!out_ || capacity_ == 0) return;
    out_[length_ < capacity_ ? length_ : capacity_ - 1] = '\0';
  }
  char* out_;
  size_t capacity_;
  size_t length_ = 0;
};

}  // namespace

const char* NumberedErrorMessage(int32_t number) {
  constexpr int32_t count = sizeof(kNumberedMessages) / sizeof(kNumberedMessages[0]);
  return number >= 1 && number <= count ? kNumberedMessages[number - 1] : nullptr;
}

size_t FormatSignedDecimal(int32_t value, char* out) {
  char digits[11];
  size_t n = 0;
  // Work in the negative range so that INT32_MIN needs no special case.
  int64_t v = value < 0 ? value : -static_cast<int64_t>(value);
  do {
    digits[n++] = static_cast<char>('0' - v % 10);
    v /= 10;
  } while (v != 0);
  size_t length = 0;
  if (value < 0) out[length++] = '-';
  while (n) out[length++] = digits[--n];
  out[length] = '\0';
  return length;
}

size_t ComposeErrorBoxText(int32_t number, const char* message, char* out, size_t capacity) {
  if (number != 0 && (!message || !*message)) message = NumberedErrorMessage(number);
  BoundedWriter text(out, capacity);
  text.Append("运行时出错!\r\n\r\n");
  if (number != 0) {
    char digits[12];
    FormatSignedDecimal(number, digits);
    text.Append("错误代码：");
    text.Append(digits);
    text.Append("\r\n\r\n");
  }
  if (message && *message) {
    text.Append("错误信息：");
    text.Append(message);
    text.Append("\r\n");
  }
  return text.Length();
}

void FormatAllocationFailure(int32_t size, char (&out)[kAllocationMessageCapacity]) {
  char digits[12];
  FormatSignedDecimal(size, digits);
  BoundedWriter text(out, kAllocationMessageCapacity);
  text.Append("分配 ");
  text.Append(digits);
  text.Append(" 字节内存失败!");
}

size_t FormatBindingFailure(const char* library, const char* exportName, char* out, size_t capacity) {
  BoundedWriter text(out, capacity);
  text.Append("无法找到指定DLL库文件“");
  text.Append(library);
  text.Append("”中的输出命令“");
  text.Append(exportName);
  text.Append("”");
  return text.Length();
}

}  // namespace vorrik
