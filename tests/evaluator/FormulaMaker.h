// Random formulas from the grammar, as text and as the postfix list the
// parser must write for them, with arguments that reach the undefined points.
#pragma once

#include "evaluator/FormulaGrammar.h"

#include "RapidEvaluator/RapidEvaluator.h"
#include "numeric/LetterCase.h"

#include <cctype>
#include <cstdio>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// A formula as a tree, printed with the fewest parentheses the grammar needs
// (and some more at random), and as the postfix list it must parse into.
struct TNode {
    enum Kind { Number, Variable, Binary, Sign, Call } Kind;
    double Value = 0;
    char Name = 'x';        // variable
    char Operator = '+';    // binary
    const char* Function = "";  // call
    std::vector<std::unique_ptr<TNode>> Children;
};

class TFormulaMaker {
public:
    explicit TFormulaMaker(unsigned seed) : Random(seed) {}

    std::unique_ptr<TNode> Make(int depth)
    {
        auto node = std::make_unique<TNode>();
        const int choice = depth <= 0 ? static_cast<int>(Below(2)) : static_cast<int>(Below(11));
        if (choice == 0) {
            node->Kind = TNode::Number;
            node->Value = Constant();
        } else if (choice == 1) {
            node->Kind = TNode::Variable;
            node->Name = "xxxXyz"[Below(6)];
        } else if (choice <= 6) {
            node->Kind = TNode::Binary;
            node->Operator = "++--**//%^^"[Below(11)];
            node->Children.push_back(Make(depth - 1));
            node->Children.push_back(Make(depth - 1));
        } else if (choice == 7) {
            node->Kind = TNode::Sign;
            node->Children.push_back(Make(depth - 1));
        } else if (choice == 10) {
            // A whole constant exponent, signed or not: -17 to 17.
            node->Kind = TNode::Binary;
            node->Operator = '^';
            node->Children.push_back(Make(depth - 1));
            auto exponent = std::make_unique<TNode>();
            exponent->Kind = TNode::Number;
            exponent->Value = Below(18);
            if (Below(3) == 0) {
                auto sign = std::make_unique<TNode>();
                sign->Kind = TNode::Sign;
                sign->Children.push_back(std::move(exponent));
                exponent = std::move(sign);
            }
            node->Children.push_back(std::move(exponent));
        } else if (choice >= 8) {
            const TFunctionInfo& f = Functions[Below(std::size(Functions))];
            node->Kind = TNode::Call;
            node->Function = f.Name;
            for (int i = 0; i < f.Args; ++i)
                node->Children.push_back(Make(depth - 1));
        }
        return node;
    }

    // The text of `node` where the grammar expects `level`.
    std::string Text(const TNode& node, int level)
    {
        std::string text;
        int own = PrimaryLevel;
        switch (node.Kind) {
        case TNode::Number: {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "%.17g", node.Value);
            text = buffer;
            break;
        }
        case TNode::Variable:
            text = node.Name;
            break;
        case TNode::Binary:
            if (node.Operator == '+' || node.Operator == '-') {
                own = ExpressionLevel;
                text = Text(*node.Children[0], ExpressionLevel) + Blank() + node.Operator + Blank()
                       + Text(*node.Children[1], TermLevel);
            } else if (node.Operator == '^') {
                own = PowerLevel;
                text = Text(*node.Children[0], SignedLevel) + "^" + Text(*node.Children[1], PowerLevel);
            } else {
                own = TermLevel;
                text = Text(*node.Children[0], TermLevel) + node.Operator + Text(*node.Children[1], PowerLevel);
            }
            break;
        case TNode::Sign:
            own = SignedLevel;
            text = '-' + Text(*node.Children[0], PrimaryLevel);
            break;
        case TNode::Call:
            text = std::string(node.Function) + "(";
            for (std::size_t i = 0; i < node.Children.size(); ++i) {
                if (i > 0)
                    text += ',';
                text += Blank();
                text += Text(*node.Children[i], ExpressionLevel);
            }
            text += ")";
            break;
        }
        if (own < level || Below(12) == 0)
            text = '(' + text + ')';
        return text;
    }

    // The postfix list the parser must write for `node`.
    static std::string List(const TNode& node)
    {
        std::string list;
        for (const auto& child : node.Children)
            list += List(*child) + ", ";
        switch (node.Kind) {
        case TNode::Number: {
            std::ostringstream out;
            out << node.Value;
            return list + out.str();
        }
        case TNode::Variable: return list + static_cast<char>(std::tolower(node.Name));
        case TNode::Binary: return list + node.Operator;
        case TNode::Sign: return list + "NEG";
        case TNode::Call: return list + UpperCase(node.Function);
        }
        return list;
    }

    double Argument()
    {
        const double choices[] = {0, -0.0, 1, -1, 0.5, 2, -3, 1e-300, 1e300, -1e19};
        return Below(4) == 0 ? choices[Below(std::size(choices))]
                             : std::uniform_real_distribution<double>(-10, 10)(Random);
    }

private:
    std::uint32_t Below(std::size_t n) { return static_cast<std::uint32_t>(Random() % n); }

    std::string Blank() { return Below(5) == 0 ? " " : ""; }

    double Constant()
    {
        const double choices[] = {0, 1, 2, 3, 0.5, 0.1, 10, 100, 1e19, 1e300, 1e-300, 710, 2147483648.0};
        return Below(3) == 0 ? std::uniform_real_distribution<double>(0, 20)(Random)
                             : choices[Below(std::size(choices))];
    }

    std::mt19937 Random;
};
