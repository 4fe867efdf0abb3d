// Hostile requests: every one gets an answer, errors with a negative length, none crashes.
#include <gtest/gtest.h>
#include <pthread.h>

#include <chrono>
#include <random>

#include "symbolic_answer.h"

namespace {

// Short requests whose rewriting never ends or recurses tens of thousands of levels deep.
const char* const kEndlessRewrites[] = {
    "int(x^20000*cos(x),x)",
    "int(x^17600*sin(x),x)",
    "int(x^50000*exp(x),x)",
    "int(x^50000*sinh(x),x)",
    "int(x^50000*cosh(x),x)",
    "int(x^50000*sin(2*x),x)",
    "int(x^50000*exp(2*x),x)",
    "grows(2)",
    "nests(1)",
};

// Rules whose right side holds their own left side.
void AddSelfReferentialMacros() {
    Ask("_ADD_MACRO(grows(x),grows(x)+1)");
    Ask("_ADD_MACRO(nests(x),nests(nests(x)))");
}

std::string Nested(const std::string& function, int depth) {
    std::string text = "x";
    for (int i = 0; i < depth; ++i) text = function + "(" + text + ")";
    return text;
}

// Runs work on a thread with the given stack size, as a host's worker thread would.
template <typename Work>
void RunOnThreadWithStack(size_t stackBytes, Work& work) {
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, stackBytes), 0);
    pthread_t thread;
    const auto run = [](void* argument) -> void* {
        (*static_cast<Work*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, &work), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

TEST(SymbolicBadInput, RandomBytesNeverCrash) {
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 60);
    for (int i = 0; i < 3000; ++i) {
        std::string request;
        for (int n = length(random); n > 0; --n) request.push_back(static_cast<char>(byte(random)));
        const SymbolicAnswer answer = Ask(request);
        EXPECT_EQ(std::abs(answer.length), static_cast<int>(answer.text.size())) << request;
    }
    // Bytes drawn from the language's own characters reach deeper into the grammar.
    const std::string alphabet = "x1+-*/^()(),.#$[]= ";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    for (int i = 0; i < 3000; ++i) {
        std::string request;
        for (int n = length(random); n > 0; --n) request.push_back(alphabet[pick(random)]);
        const SymbolicAnswer answer = Ask(request);
        EXPECT_EQ(std::abs(answer.length), static_cast<int>(answer.text.size())) << request;
    }
}

TEST(SymbolicBadInput, MalformedRequestsGiveErrors) {
    for (const char* request : {"((x+1)", "x+1))", "sin(x", "diff(x^2,x", "x\t+1", "x\n+1", "x+\r1",
                                "\xff\xfe", "1..2", "#99999999999999999999"}) {
        const SymbolicAnswer answer = Ask(request);
        EXPECT_LT(answer.length, 0) << request;
    }
}

TEST(SymbolicBadInput, HugeRequestsAnswerQuickly) {
    const auto start = std::chrono::steady_clock::now();
    const std::string megabyteSum = [] {
        std::string text = "x";
        while (text.size() < (1 << 20)) text += "+x";
        return text;
    }();
    EXPECT_EQ(Result(megabyteSum), "error: expression nested too deeply");
    EXPECT_LT(Ask(std::string(1 << 20, '(')).length, 0);
    EXPECT_LT(Ask(std::string(1 << 20, '9')).length, 0);
    const SymbolicAnswer longName = Ask(std::string(1 << 20, 'x'));
    EXPECT_EQ(longName.length, (1 << 20) - 1);  // cut to the test's buffer
    EXPECT_EQ(longName.text, std::string(longName.text.size(), 'x'));
    EXPECT_LT(Ask("10^100000").length, 0);
    // A name 100000 characters wide beside a tower 900 rows high: too large to draw.
    std::string tower = "x";
    for (int i = 0; i < 899; ++i) tower += "^x";
    EXPECT_EQ(Result("PRETTY(" + std::string(100000, 'a') + "+" + tower + ")"),
              "error: result too large to draw");
    EXPECT_LT(Ask("9^9^9^9").length, 0);
    // Regression: the derivative of sin nested 995 deep took over eight minutes.
    std::string nested = "x";
    for (int i = 0; i < 995; ++i) nested = "sin(" + nested + ")";
    EXPECT_EQ(Result("diff(" + nested + ",x)"), "error: too many rewrite steps");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

// Regression: rewriting had no depth limit, so these overflowed the stack before the work budget
// ran out; the library must stay usable afterwards.
TEST(SymbolicBadInput, EndlessRewritingEndsWithAnError) {
    AddSelfReferentialMacros();
    for (const char* request : kEndlessRewrites)
        EXPECT_EQ(Result(request), "error: too many rewrite steps") << request;
    EXPECT_EQ(Result("diff(x^3,x)"), "3*x^2");
}

// Regression: on a 1 MB worker-thread stack deep requests crashed where the main thread's
// 8 MB held out.
TEST(SymbolicBadInput, DeepRequestsEndWithAnErrorOnASmallStack) {
    AddSelfReferentialMacros();
    std::vector<std::string> requests(std::begin(kEndlessRewrites), std::end(kEndlessRewrites));
    std::string powers = "x";
    for (int i = 0; i < 31000; ++i) powers += "^x";
    const std::string sines = Nested("sin", 995);
    for (const std::string& request :
         {powers, sines, "diff(" + sines + ",x)", "LATEX(" + sines + ")", "PRETTY(" + sines + ")",
          "APPROX(" + sines + ")", Nested("grows", 990), Nested("nests", 990)})
        requests.push_back(request);
    std::vector<SymbolicAnswer> answers;
    auto work = [&] {
        for (const std::string& request : requests) answers.push_back(Ask(request));
        answers.push_back(Ask("diff(x^3,x)"));
    };
    RunOnThreadWithStack(1 << 20, work);
    ASSERT_EQ(answers.size(), requests.size() + 1);
    for (size_t i = 0; i < requests.size(); ++i) {
        EXPECT_LT(answers[i].length, 0) << requests[i].substr(0, 40);
        EXPECT_TRUE(answers[i].text == "too many rewrite steps" ||
                    answers[i].text == "expression nested too deeply")
            << answers[i].text;
    }
    EXPECT_EQ(answers.back().text, "3*x^2");
}

}  // namespace
