// Emscripten 3.1's embind writes its function wrappers as JavaScript source
// and compiles it with Function(), which a page whose Content-Security-Policy
// forbids eval cannot run. These are the same wrappers as closures. This file
// is the module's --pre-js: it runs inside the module before the rest, and
// assigning to the hoisted function names replaces embind's own.
/* eslint-disable no-global-assign, no-func-assign */

createNamedFunction = function (name, body) {
  return function () {
    return body.apply(this, arguments);
  };
};

// The wrapper of every bound function, method and constructor: arguments to
// wire types, the call, destructors, the result from its wire type.
craftInvokerFunction = function (humanName, argTypes, classType, cppInvokerFunc, cppTargetFunc) {
  var argCount = argTypes.length;
  if (argCount < 2) throwBindingError("argTypes array size mismatch! Must at least get return value and 'this' types!");
  var isClassMethodFunc = argTypes[1] !== null && classType !== null;
  var needsDestructorStack = false;
  for (var i = 1; i < argTypes.length; ++i) {
    if (argTypes[i] !== null && argTypes[i].destructorFunction === undefined) {
      needsDestructorStack = true;
      break;
    }
  }
  var returns = argTypes[0].name !== 'void';
  var expected = argCount - 2;
  return function () {
    if (arguments.length !== expected) {
      throwBindingError('function ' + humanName + ' called with ' + arguments.length + ' arguments, expected ' + expected + ' args!');
    }
    var destructors = needsDestructorStack ? [] : null;
    var wired = [cppTargetFunc];
    var thisWired;
    if (isClassMethodFunc) {
      thisWired = argTypes[1].toWireType(destructors, this);
      wired.push(thisWired);
    }
    for (var i = 0; i < expected; ++i) wired.push(argTypes[i + 2].toWireType(destructors, arguments[i]));
    var rv = cppInvokerFunc.apply(null, wired);
    if (needsDestructorStack) {
      runDestructors(destructors);
    } else {
      for (var j = isClassMethodFunc ? 1 : 2; j < argTypes.length; ++j) {
        var param = j === 1 ? thisWired : wired[j - 2 + (isClassMethodFunc ? 2 : 1)];
        if (argTypes[j].destructorFunction !== null) argTypes[j].destructorFunction(param);
      }
    }
    if (returns) return argTypes[0].fromWireType(rv);
  };
};

// val::call and val::as on a JavaScript object's method.
__emval_get_method_caller = function (argCount, argTypes) {
  var types = __emval_lookupTypes(argCount, argTypes);
  var retType = types[0];
  var signatureName = retType.name + '_$' + types.slice(1).map(function (t) { return t.name; }).join('_') + '$';
  var returnId = emval_registeredMethods[signatureName];
  if (returnId !== undefined) return returnId;
  var invoker = function (handle, name, destructors, args) {
    var values = [];
    var offset = 0;
    for (var i = 0; i < argCount - 1; ++i) {
      values.push(types[1 + i].readValueFromPointer(args + offset));
      offset += types[1 + i].argPackAdvance;
    }
    var rv = handle[name].apply(handle, values);
    for (var k = 0; k < argCount - 1; ++k) {
      if (types[1 + k].deleteObject) types[1 + k].deleteObject(values[k]);
    }
    if (!retType.isVoid) return retType.toWireType(destructors, rv);
  };
  returnId = __emval_addMethodCaller(invoker);
  emval_registeredMethods[signatureName] = returnId;
  return returnId;
};

// val::new_: `new constructor(...)` with arguments read from the wire.
craftEmvalAllocator = function (argCount) {
  return function (constructor, argTypes, args) {
    var values = [];
    for (var i = 0; i < argCount; ++i) {
      var argType = requireRegisteredType(HEAP32[(argTypes >>> 2) + i], 'parameter ' + i);
      values.push(argType.readValueFromPointer(args));
      args += argType.argPackAdvance;
    }
    return Emval.toHandle(Reflect.construct(constructor, values));
  };
};
