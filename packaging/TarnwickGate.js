// TarnwickGate.js RESULTS: the decision of TarnwickGate.cmd, read from the results document
// that Tarnwick.exe wrote, with the MSXML 3.0 that the program itself writes it with.
// Prints "TarnwickGate: ready", "TarnwickGate: blocked (...)" or "TarnwickGate: not checked
// (...)" and ends with 10, 11 or 12 (TarnwickGate.cmd turns these into 0, 1 and 2).
//
// A valid results document has the shape of schemas\results.xsd: the root test_results without
// attributes, holding only test elements; each test, without attributes, holds name, passed
// ("true" or "false"), any more_info, descriptive_name and any descriptive_solution, in that
// order, and nothing else but white space.

var READY = 10, BLOCKED = 11, NOT_CHECKED = 12;

// The element children of node in order, or null when it holds anything else than elements,
// white space and comments.
function elementChildren(node) {
    var found = [];
    for (var child = node.firstChild; child != null; child = child.nextSibling) {
        if (child.nodeType == 1) {
            found.push(child);
        } else if (child.nodeType == 3 && /^\s*$/.test(child.nodeValue)) {
            // white space between elements
        } else if (child.nodeType != 8) {
            return null;
        }
    }
    return found;
}

// Whether node holds nothing but text.
function isPlainText(node) {
    for (var child = node.firstChild; child != null; child = child.nextSibling) {
        if (child.nodeType != 3 && child.nodeType != 4) {
            return false;
        }
    }
    return true;
}

// Where test number index (from 1) breaks the schema, or "" when it keeps it.
function testProblem(test, index) {
    var where = "test " + index + ": ";
    if (test.nodeName != "test" || test.attributes.length != 0) {
        return where + "<" + test.nodeName + "> where a <test> without attributes belongs";
    }
    var children = elementChildren(test);
    if (children == null) {
        return where + "text beside its elements";
    }
    var order = ["name", "passed", "more_info", "descriptive_name", "descriptive_solution"];
    var repeatable = { more_info: true, descriptive_solution: true };
    var at = 0, count = {};
    for (var i = 0; i < children.length; ++i) {
        var name = children[i].nodeName;
        while (at < order.length && order[at] != name) {
            if (!repeatable[order[at]] && !count[order[at]]) {
                return where + "no <" + order[at] + "> before <" + name + ">";
            }
            ++at;
        }
        if (at == order.length || children[i].attributes.length != 0 || !isPlainText(children[i])) {
            return where + "<" + name + "> out of place or not plain text";
        }
        count[name] = (count[name] || 0) + 1;
        if (count[name] > 1 && !repeatable[name]) {
            return where + "a second <" + name + ">";
        }
    }
    for (; at < order.length; ++at) {
        if (!repeatable[order[at]] && !count[order[at]]) {
            return where + "no <" + order[at] + ">";
        }
    }
    var passed = test.selectSingleNode("passed").text;
    if (passed != "true" && passed != "false") {
        return where + "<passed> is \"" + passed + "\", neither true nor false";
    }
    return "";
}

function decide(path) {
    var document = new ActiveXObject("Msxml2.DOMDocument.3.0");
    document.async = false;
    document.validateOnParse = false;
    document.resolveExternals = false;
    if (!document.load(path)) {
        return [NOT_CHECKED, "not checked (" + path + " cannot be read as XML: " + document.parseError.reason + ")"];
    }
    var root = document.documentElement;
    var tests = root == null ? null : elementChildren(root);
    if (root == null || root.nodeName != "test_results" || root.attributes.length != 0 || tests == null) {
        return [NOT_CHECKED, "not checked (" + path + " is no results document)"];
    }
    var failed = [];
    for (var i = 0; i < tests.length; ++i) {
        var problem = testProblem(tests[i], i + 1);
        if (problem != "") {
            return [NOT_CHECKED, "not checked (" + path + " is not a valid results document: " + problem + ")"];
        }
        if (tests[i].selectSingleNode("passed").text == "false") {
            failed.push(tests[i].selectSingleNode("name").text);
        }
    }
    if (failed.length != 0) {
        return [BLOCKED, "blocked (" + failed.length + " of " + tests.length + " checks failed: " + failed.join(", ") + ")"];
    }
    return [READY, "ready"];
}

var decision;
try {
    decision = WScript.Arguments.length == 1
        ? decide(WScript.Arguments(0))
        : [NOT_CHECKED, "not checked (usage: cscript //nologo TarnwickGate.js RESULTS)"];
} catch (error) {
    decision = [NOT_CHECKED, "not checked (the results document could not be read: " + error.message + ")"];
}
WScript.Echo("TarnwickGate: " + decision[1]);
WScript.Quit(decision[0]);
